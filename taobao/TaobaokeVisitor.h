#pragma once
#include <tinyxml.h>

#include <string>

// Reads the affiliate click URL of a conversion answer; the last one wins.
class TaobaokeVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::string clickUrl;
};
