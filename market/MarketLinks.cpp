#include "market/MarketLinks.h"

#include <Poco/URI.h>

namespace market {

std::string MarketLinks::productPicture(int64_t numIid) const
{
    return base_ + "/pic/item/" + std::to_string(numIid) + ".jpg";
}

std::string MarketLinks::descriptionPicture(int64_t numIid, int index) const
{
    return base_ + "/pic/desc/" + std::to_string(numIid) + "_" + std::to_string(index) + ".jpg";
}

std::string MarketLinks::shopLogo(int64_t sid) const
{
    return base_ + "/pic/shop/" + std::to_string(sid) + ".jpg";
}

std::string MarketLinks::recommendPicture(int index) const
{
    return base_ + "/pic/rec/" + std::to_string(index) + ".jpg";
}

std::string MarketLinks::itemPage(int64_t numIid) const
{
    return base_ + "/item.htm?id=" + std::to_string(numIid);
}

std::string MarketLinks::shopPage(int64_t sid) const
{
    return base_ + "/shop.htm?sid=" + std::to_string(sid);
}

std::string MarketLinks::clickUrl(int64_t numIid, const std::string& affiliateNick) const
{
    std::string nick;
    Poco::URI::encode(affiliateNick, "&=?#+", nick);
    return itemPage(numIid) + "&tbk=" + nick;
}

}
