#pragma once
#include <tinyxml.h>

#include <string>

struct CTaobaoProductInfoDetails;

// Reads an item answer's description, location, stock, listing end, express
// fee and page URL, wherever they stand; a later occurrence wins.
class CTaobaoProductDetailsVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    // Copies the seven values into the details fields of the record.
    void copyTo(CTaobaoProductInfoDetails& record) const;

    std::string desc;  // system code page
    std::string express_fee;
    std::string state;  // system code page
    std::string city;   // system code page
    std::string delist_time;
    std::string num;
    std::string detail_url;
};
