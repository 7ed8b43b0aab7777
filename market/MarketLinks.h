#pragma once

#include <cstdint>
#include <string>

namespace market {

// Every URL the market hands out, built on the address the client used to
// reach it, so answers stay valid on any port.
class MarketLinks {
public:
    explicit MarketLinks(std::string baseUrl) : base_(std::move(baseUrl)) {}

    std::string productPicture(int64_t numIid) const;
    std::string descriptionPicture(int64_t numIid, int index) const;
    std::string shopLogo(int64_t sid) const;
    std::string recommendPicture(int index) const;
    std::string itemPage(int64_t numIid) const;
    std::string shopPage(int64_t sid) const;
    std::string clickUrl(int64_t numIid, const std::string& affiliateNick) const;

private:
    std::string base_;
};

}
