#pragma once
#include "taobao/CTaobaoPropertyEntry.h"

#include <tinyxml.h>

#include <vector>

// Reads a category's property values ("prop_value" elements) as a flat list:
// a header entry whenever the property changes, then its values.
class TaobaoPropertyVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<CTaobaoPropertyEntry> entries;
};
