#include "taobao/TaobaoPropertyVisitor.h"

#include "taobao/TaobaoXml.h"

bool TaobaoPropertyVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "prop_value")
        return true;
    const TiXmlElement* pid = TaobaoXml::child(element, "pid");
    const TiXmlElement* propName = TaobaoXml::child(element, "prop_name");
    const TiXmlElement* vid = TaobaoXml::child(element, "vid");
    const TiXmlElement* name = TaobaoXml::child(element, "name");
    if (!pid || !propName || !vid || !name)
        return true;
    std::string property = TaobaoXml::text(pid);
    std::string lastParent = entries.empty() ? std::string() : entries.back().parent;
    if (property != lastParent)
        entries.push_back({property, TaobaoXml::ansiText(propName), std::string()});
    entries.push_back({TaobaoXml::text(vid), TaobaoXml::ansiText(name), property});
    return true;
}
