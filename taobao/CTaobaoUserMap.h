#pragma once
#include "taobao/CTaobaoMap.h"
#include "taobao/CTaobaoUserItem.h"

#include <string>

// The seller cache, keyed by the UTF-8 nick asked for.
class CTaobaoUserMap : public CTaobaoMap<std::string, CTaobaoUserItem>
{
public:
    bool addSeller(const CTaobaoUserItem& item) { return insert({item.nick, item}); }
    bool copySeller(const std::string& nick, CTaobaoUserItem& out) const { return copy(nick, out); }
};
