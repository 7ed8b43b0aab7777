#include "taobao/CTaobaoProductDetailsVisitor.h"

#include "taobao/CTaobaoProductInfoDetails.h"
#include "taobao/TaobaoXml.h"

bool CTaobaoProductDetailsVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    const std::string& name = element.ValueStr();
    if (name == "desc") {
        desc = TaobaoXml::ansiText(&element);
    } else if (name == "num") {
        num = TaobaoXml::text(&element);
    } else if (name == "delist_time") {
        delist_time = TaobaoXml::text(&element);
    } else if (name == "express_fee") {
        express_fee = TaobaoXml::text(&element);
    } else if (name == "detail_url") {
        detail_url = TaobaoXml::text(&element);
    } else if (name == "location") {
        if (const TiXmlElement* s = TaobaoXml::child(element, "state"))
            state = TaobaoXml::ansiText(s);
        if (const TiXmlElement* c = TaobaoXml::child(element, "city"))
            city = TaobaoXml::ansiText(c);
    }
    return true;
}

void CTaobaoProductDetailsVisitor::copyTo(CTaobaoProductInfoDetails& record) const
{
    record.detail_url = detail_url;
    record.desc = desc;
    record.express_fee = express_fee;
    record.state = state;
    record.city = city;
    record.delist_time = delist_time;
    record.num = num;
}
