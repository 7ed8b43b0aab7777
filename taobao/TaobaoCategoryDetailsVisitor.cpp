#include "taobao/TaobaoCategoryDetailsVisitor.h"

#include "taobao/TaobaoXml.h"

bool TaobaoCategoryDetailsVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "item_cat" && element.ValueStr() != "seller_cat")
        return true;
    const TiXmlElement* cid = TaobaoXml::child(element, "cid");
    const TiXmlElement* parentCid = TaobaoXml::child(element, "parent_cid");
    const TiXmlElement* name = TaobaoXml::child(element, "name");
    if (!cid || !parentCid || !name)
        return true;
    CTaobaoCategory category;
    category.cid = TaobaoXml::text(cid);
    category.parent_cid = TaobaoXml::text(parentCid);
    category.name = TaobaoXml::ansiText(name);
    category.is_parent = isParent(TaobaoXml::child(element, "is_parent"), category.parent_cid);
    categories.push_back(std::move(category));
    return true;
}

// Without the flag a top-level category is taken to have children.
bool TaobaoCategoryDetailsVisitor::isParent(const TiXmlElement* isParentElement, const std::string& parentCid)
{
    if (!isParentElement)
        return parentCid == "0";
    return TaobaoXml::text(isParentElement) != "false";
}
