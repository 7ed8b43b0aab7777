#pragma once
#include "taobao/CTaobaoUserItem.h"

#include <tinyxml.h>

#include <string>

// Reads a seller's credit: the number of ratings and the score per rating.
class CTaobaoSellerVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::string credit;
    double reputation = 0;
};

// The seller record for the UTF-8 nick that was asked for.
CTaobaoUserItem makeUserItem(const std::string& nick, const CTaobaoSellerVisitor& visitor);
