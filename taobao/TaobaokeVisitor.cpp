#include "taobao/TaobaokeVisitor.h"

#include "taobao/TaobaoXml.h"

bool TaobaokeVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "taobaokeItem" && element.ValueStr() != "taobaokeShop")
        return true;
    if (const TiXmlElement* url = TaobaoXml::child(element, "click_url"))
        clickUrl = TaobaoXml::text(url);
    return true;
}
