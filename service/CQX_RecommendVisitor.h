#pragma once
#include "service/CQXRecommendItem.h"

#include <tinyxml.h>

#include <string>
#include <utility>
#include <vector>

// Reads recommend.xml: the header ("r": "ver", "vol") and the items ("p").
class CQX_RecommendVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    int ver = 0;
    int vol = 0;
    // Each item with the name of its class (empty: only the general class).
    std::vector<std::pair<std::string, CQXRecommendItem>> items;

private:
    void readHeader(const TiXmlElement& header);
    void readItem(const TiXmlElement& item);
};
