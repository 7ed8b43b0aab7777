#include "taobao/TaobaoFeedVisitor.h"

#include "taobao/TaobaoProductVisitor.h"
#include "taobao/TaobaoXml.h"

bool TaobaoFeedVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() == "time")
        time = TaobaoXml::text(&element);
    else if (element.ValueStr() == "item_list" && isShowable(element))
        records.push_back(readRecord(element));
    return true;
}

// Only what a card cannot be shown without is required: a favourite taken
// from an affiliate search has no type, one saved while the seller request
// failed has no credit, and both must survive a restart.
bool TaobaoFeedVisitor::isShowable(const TiXmlElement& item)
{
    for (const char* name : {"num_iid", "title", "nick", "pic_path", "price"}) {
        if (!TaobaoXml::hasText(TaobaoXml::child(item, name)))
            return false;
    }
    return true;
}

CTaobaoProductInfoDetails TaobaoFeedVisitor::readRecord(const TiXmlElement& item)
{
    auto text = [&item](const char* name) { return TaobaoXml::text(TaobaoXml::child(item, name)); };
    auto ansiText = [&item](const char* name) { return TaobaoXml::ansiText(TaobaoXml::child(item, name)); };
    CTaobaoProductInfoDetails record;
    record.num_iid = text("num_iid");
    record.title = TaobaoProductVisitor::displayTitle(text("title"));
    record.nick = text("nick");
    record.pic_url = text("pic_path");
    record.type = text("type");
    record.price = TaobaoXml::formatPrice(text("price"));
    record.credit = text("credit");
    record.num = text("num");
    record.delist_time = text("delist_time");
    record.state = ansiText("state");
    record.city = ansiText("city");
    record.express_fee = text("express_fee");
    record.detail_url = text("product_address");
    record.reputation = TaobaoXml::toDouble(text("reputation"));
    return record;
}
