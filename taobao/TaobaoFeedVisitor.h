#pragma once
#include "taobao/CTaobaoProductInfoDetails.h"

#include <tinyxml.h>

#include <string>
#include <vector>

// Reads a saved product list (favourites or viewed today): its "item_list"
// records and, in the viewed-today file, the "time" it was written.
class TaobaoFeedVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<CTaobaoProductInfoDetails> records;
    std::string time;

private:
    static bool isShowable(const TiXmlElement& item);
    static CTaobaoProductInfoDetails readRecord(const TiXmlElement& item);
};
