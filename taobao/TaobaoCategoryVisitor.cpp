#include "taobao/TaobaoCategoryVisitor.h"

#include "taobao/TaobaoXml.h"

bool TaobaoCategoryVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "category_list")
        return true;
    const TiXmlElement* id = TaobaoXml::child(element, "category_id");
    const TiXmlElement* count = TaobaoXml::child(element, "count");
    if (id && count) {
        ids.push_back(TaobaoXml::text(id));
        counts.push_back(TaobaoXml::text(count));
    }
    return true;
}
