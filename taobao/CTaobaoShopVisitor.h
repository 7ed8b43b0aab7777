#pragma once
#include "taobao/CTaobaoShopItem.h"

#include <tinyxml.h>

#include <string>
#include <vector>

// Reads the "shop" elements of a shop answer or of the favourite-shop file.
class CTaobaoShopVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<CTaobaoShopItem> shops;
};

// The first shop the visitor recognised; false when there was none.
bool makeShopItem(const CTaobaoShopVisitor& visitor, CTaobaoShopItem& item);
