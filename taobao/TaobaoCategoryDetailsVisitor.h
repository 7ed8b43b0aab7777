#pragma once
#include "taobao/CTaobaoCategory.h"

#include <tinyxml.h>

#include <vector>

// Reads the category records of a category answer ("item_cat" or
// "seller_cat"), in document order.
class TaobaoCategoryDetailsVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<CTaobaoCategory> categories;

private:
    static bool isParent(const TiXmlElement* isParentElement, const std::string& parentCid);
};
