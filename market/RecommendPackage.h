#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace market {

class Catalogue;
class MarketLinks;

struct RecommendItem {
    enum class Kind { Search, Shop, Product };

    Kind kind = Kind::Search;
    std::string className;     // empty: only in the general class
    std::string name;          // keyword, seller nick or product title
    std::string cardText;
    int64_t numIid = 0;        // product items
    int64_t cid = 0;
    std::string props;
    int lowPrice = 0;
    int highPrice = 0;
    bool mall = false;
    bool prepay = false;
    bool guarantee = false;
    bool affiliate = false;
    bool byVolume = false;
};

// The recommendation package the service hands out: keywords, shops and
// products of the catalogue, grouped in classes, written as a GBK
// "recommend.xml" inside a zip.
class RecommendPackage {
public:
    explicit RecommendPackage(const Catalogue& catalogue);

    const std::vector<RecommendItem>& items() const { return items_; }
    std::string xml(const MarketLinks& links, int version) const;   // UTF-8
    std::string zip(const MarketLinks& links, int version) const;   // the package file

private:
    void addSearches(const Catalogue& catalogue);
    void addShops(const Catalogue& catalogue);
    void addProducts(const Catalogue& catalogue);

    const Catalogue& catalogue_;
    std::vector<RecommendItem> items_;
};

}
