#include "service/CQX_RecommendVisitor.h"

#include "taobao/TaobaoXml.h"

namespace
{

void readTextIfSet(const TiXmlElement& item, const char* name, std::string& field)
{
    const TiXmlElement* child = TaobaoXml::child(item, name);
    if (TaobaoXml::hasText(child))
        field = TaobaoXml::text(child);
}

void readNumberIfSet(const TiXmlElement& item, const char* name, int& field)
{
    const TiXmlElement* child = TaobaoXml::child(item, name);
    if (TaobaoXml::hasText(child))
        field = TaobaoXml::toInt(TaobaoXml::text(child));
}

bool present(const TiXmlElement& item, const char* name)
{
    return TaobaoXml::child(item, name) != nullptr;
}

}

bool CQX_RecommendVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() == "r")
        readHeader(element);
    else if (element.ValueStr() == "p")
        readItem(element);
    return true;
}

void CQX_RecommendVisitor::readHeader(const TiXmlElement& header)
{
    readNumberIfSet(header, "ver", ver);
    readNumberIfSet(header, "vol", vol);
}

void CQX_RecommendVisitor::readItem(const TiXmlElement& element)
{
    const TiXmlElement* name = TaobaoXml::child(element, "k");
    const TiXmlElement* picture = TaobaoXml::child(element, "u");
    if (!TaobaoXml::hasText(name) || !TaobaoXml::hasText(picture))
        return;
    CQXRecommendItem item;
    item.name = TaobaoXml::text(name);
    item.pictureUrl = TaobaoXml::text(picture);
    if (present(element, "pd"))
        item.type = CQXRecommendItem::Product;
    else if (present(element, "shop"))
        item.type = CQXRecommendItem::Shop;
    if (item.type == CQXRecommendItem::Product) {
        readTextIfSet(element, "f", item.productText);
        readTextIfSet(element, "j", item.productLink);
    }
    readTextIfSet(element, "d", item.cardText);
    readTextIfSet(element, "ci", item.categoryId);
    readTextIfSet(element, "pi", item.propertyFilter);
    readNumberIfSet(element, "l", item.lowPrice);
    readNumberIfSet(element, "h", item.highPrice);
    item.mall = present(element, "mall");
    item.prepay = present(element, "prp");
    item.guarantee = present(element, "grt");
    item.affiliate = present(element, "tbk");
    item.byVolume = present(element, "v");
    items.emplace_back(TaobaoXml::text(TaobaoXml::child(element, "c")), std::move(item));
}
