#include "taobao/CTaobaoShopMap.h"

bool CTaobaoShopMap::addShop(const CTaobaoShopItem& item)
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    if (insertLocked({item.nick, item}))
        return false;
    CTaobaoShopItem& stored = m_map.at(item.nick);
    stored.desc = item.desc;
    stored.bulletin = item.bulletin;
    return true;
}

bool CTaobaoShopMap::addFavoriteShop(const std::string& nick, const std::string& pic_path)
{
    CTaobaoShopItem item;
    item.nick = nick;
    item.pic_path = pic_path;
    return addShop(item);
}
