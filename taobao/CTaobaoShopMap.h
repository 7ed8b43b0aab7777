#pragma once
#include "taobao/CTaobaoOrderedMap.h"
#include "taobao/CTaobaoShopItem.h"

#include <string>
#include <vector>

// Shops keyed by nick, kept in insertion order.
class CTaobaoShopMap : public CTaobaoOrderedMap<CTaobaoShopItem>
{
public:
    // A new shop is stored and the result is false; a known one gets the
    // offered description and bulletin and the result is true.
    bool addShop(const CTaobaoShopItem& item);
    bool addFavoriteShop(const std::string& nick, const std::string& pic_path);
    // Stores a new shop (true); a known one stays as it is (false).
    bool addShopInfo(const CTaobaoShopItem& item) { return insert({item.nick, item}); }
    bool removeShop(const std::string& nick) { return remove(nick); }

    bool copyShop(const std::string& nick, CTaobaoShopItem& out) const { return copy(nick, out); }
    bool copyShopAt(int index, CTaobaoShopItem& out) const { return copyAt(index, out); }
    bool copyAllShops(std::vector<CTaobaoShopItem>& out) const { return copyAll(out); }
    bool containsShop(const std::string& nick) const { return contains(nick); }
    int shopCount() const { return count(); }
};
