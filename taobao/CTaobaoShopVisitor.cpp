#include "taobao/CTaobaoShopVisitor.h"

#include "taobao/TaobaoText.h"
#include "taobao/TaobaoXml.h"

namespace
{

// "暂无公告" ("no announcement yet") in the system code page.
const char* const kNoBulletin = "\xD4\xDD\xCE\xDE\xB9\xAB\xB8\xE6";

std::string bulletinText(const TiXmlElement* bulletin)
{
    if (TaobaoXml::hasText(bulletin))
        return TaobaoXml::text(bulletin);
    std::string placeholder = kNoBulletin;
    AnsiToUTF8(placeholder);
    return placeholder;
}

}

bool CTaobaoShopVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() != "shop")
        return true;
    const TiXmlElement* nick = TaobaoXml::child(element, "nick");
    if (!TaobaoXml::hasText(nick))
        return true;
    CTaobaoShopItem shop;
    shop.sid = TaobaoXml::text(TaobaoXml::child(element, "sid"));
    shop.title = TaobaoXml::ansiText(TaobaoXml::child(element, "title"));
    shop.nick = TaobaoXml::ansiText(nick);
    shop.desc = TaobaoXml::text(TaobaoXml::child(element, "desc"));
    shop.bulletin = bulletinText(TaobaoXml::child(element, "bulletin"));
    shop.pic_path = TaobaoXml::text(TaobaoXml::child(element, "pic_path"));
    shops.push_back(std::move(shop));
    return true;
}

bool makeShopItem(const CTaobaoShopVisitor& visitor, CTaobaoShopItem& item)
{
    if (visitor.shops.empty())
        return false;
    item = visitor.shops.front();
    return true;
}
