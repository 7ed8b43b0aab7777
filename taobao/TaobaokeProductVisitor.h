#pragma once
#include "taobao/CTaobaoProductInfo.h"

#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

// Reads the products of an affiliate search answer ("taobaokeItem" elements)
// and its "totalResults". Affiliate products have no type and no volume.
class TaobaokeProductVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<CTaobaoProductInfo> products;
    int total = 0;
};

void parseTaobaokeProductList(const std::string& body, int firstIndex, std::vector<int>& indices,
                              std::vector<std::unique_ptr<CTaobaoProductInfo>>& products, int& total);
