#include "taobao/CTaobaoSellerVisitor.h"

#include "taobao/TaobaoXml.h"

bool CTaobaoSellerVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "seller_credit")
        return true;
    const TiXmlElement* totalNum = TaobaoXml::child(element, "total_num");
    const TiXmlElement* score = TaobaoXml::child(element, "score");
    if (!totalNum || !score)
        return true;
    credit = TaobaoXml::text(totalNum);
    int ratings = TaobaoXml::toInt(credit);
    // A seller without ratings has no score per rating; 0 rather than a
    // value that is not a number, which would reach the screen and the files.
    reputation = ratings == 0 ? 0.0 : TaobaoXml::toInt(TaobaoXml::text(score)) / static_cast<double>(ratings);
    return true;
}

CTaobaoUserItem makeUserItem(const std::string& nick, const CTaobaoSellerVisitor& visitor)
{
    CTaobaoUserItem item;
    item.nick = nick;
    item.credit = visitor.credit;
    item.reputation = visitor.reputation;
    return item;
}
