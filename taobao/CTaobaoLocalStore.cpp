#include "taobao/CTaobaoLocalStore.h"

#include "taobao/CTaobaoFeedMap.h"
#include "taobao/CTaobaoParamList.h"
#include "taobao/CTaobaoShopMap.h"
#include "taobao/CTaobaoShopVisitor.h"
#include "taobao/TaobaoFeedVisitor.h"
#include "taobao/TaobaoText.h"
#include "taobao/TaobaoXml.h"

#include "platform/Log.h"
#include "platform/SafeFile.h"

#include <tinyxml.h>

#include <cstdio>
#include <filesystem>

namespace
{

TiXmlElement* addElement(TiXmlNode& parent, const char* name)
{
    return parent.LinkEndChild(new TiXmlElement(name))->ToElement();
}

void addTextElement(TiXmlNode& parent, const char* name, const std::string& text)
{
    TiXmlElement* element = addElement(parent, name);
    if (!text.empty())
        element->LinkEndChild(new TiXmlText(text));
}

std::string utf8(std::string ansi)
{
    AnsiToUTF8(ansi);
    return ansi;
}

void startDocument(TiXmlDocument& document)
{
    document.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", "yes"));
}

void addFeedElement(TiXmlElement& root, const CTaobaoProductInfoDetails& record)
{
    TiXmlElement* item = addElement(root, "item_list");
    addTextElement(*item, "num_iid", record.num_iid);
    addTextElement(*item, "title", utf8(record.title));
    addTextElement(*item, "nick", record.nick);
    addTextElement(*item, "pic_path", record.pic_url);
    addTextElement(*item, "type", record.type);
    addTextElement(*item, "price", record.price);
    addTextElement(*item, "credit", record.credit);
    addTextElement(*item, "num", record.num);
    addTextElement(*item, "delist_time", record.delist_time);
    addTextElement(*item, "state", utf8(record.state));
    addTextElement(*item, "city", utf8(record.city));
    addTextElement(*item, "express_fee", record.express_fee);
    addTextElement(*item, "product_address", record.detail_url);
    addTextElement(*item, "reputation", TaobaoXml::formatFixed2(record.reputation));
}

// Where a file that does not parse is kept: beside itself, with the time it
// was found and ".bad", so that neither it nor an earlier one is overwritten.
std::string setAsidePath(const std::string& path)
{
    std::string stamp = makeTimestamp();
    for (char& c : stamp)
        c = (c == ' ' || c == ':') ? '-' : c;
    return path + "." + stamp + ".bad";
}

// A list file that exists but does not parse (a truncated write, a hand edit)
// may still hold what the user saved: it is moved aside before the list that
// replaces it is ever written. A missing or empty file holds nothing to keep.
void readListFile(const std::string& path, TiXmlVisitor& visitor)
{
    if (TaobaoXml::walkFile(path, visitor))
        return;
    std::error_code error;
    if (std::filesystem::file_size(path, error) == 0 || error)
        return;
    const std::string aside = setAsidePath(path);
    if (std::rename(path.c_str(), aside.c_str()) == 0) {
        const std::string line = path + " could not be read; it is kept as " + aside;
        std::fprintf(stderr, "quobrix: %s\n", line.c_str());
        Log::Warning(line);
    }
}

}

bool CTaobaoLocalStore::addFeedRecord(CTaobaoFeedMap& feeds, const CTaobaoProductInfoDetails& record)
{
    CTaobaoProductInfoDetails copy = record;
    AnsiToUTF8(copy.nick);
    return feeds.addFeed(copy);
}

void CTaobaoLocalStore::loadFeeds(CTaobaoFeedMap& feeds, const std::string& path, FeedKind kind)
{
    if (!feeds.beginLoad())
        return;
    TaobaoFeedVisitor visitor;
    readListFile(path, visitor);
    if (kind == History && !isSameDay(visitor.time, makeTimestamp()))
        return;
    for (const CTaobaoProductInfoDetails& record : visitor.records)
        feeds.addFeed(record);
}

bool CTaobaoLocalStore::saveFeeds(CTaobaoFeedMap& feeds, const std::string& path, FeedKind kind)
{
    loadFeeds(feeds, path, kind);
    std::vector<CTaobaoProductInfoDetails> records;
    feeds.copyAllFeeds(records);
    TiXmlDocument document;
    startDocument(document);
    TiXmlElement* root = addElement(document, "items_list");
    for (const CTaobaoProductInfoDetails& record : records)
        addFeedElement(*root, record);
    if (kind == History)
        addTextElement(*root, "time", makeTimestamp());
    bool saved = writeDocument(document, path);
    feeds.clear();
    return saved;
}

void CTaobaoLocalStore::loadShops(CTaobaoShopMap& shops, const std::string& path)
{
    CTaobaoShopVisitor visitor;
    readListFile(path, visitor);
    for (const CTaobaoShopItem& shop : visitor.shops)
        shops.addShopInfo(CTaobaoShopItem{"", "", "", shop.bulletin, shop.pic_path, shop.nick});
}

bool CTaobaoLocalStore::saveShops(const CTaobaoShopMap& shops, const std::string& path)
{
    std::vector<CTaobaoShopItem> items;
    shops.copyAllShops(items);
    TiXmlDocument document;
    startDocument(document);
    TiXmlElement* root = addElement(document, "shops");
    for (const CTaobaoShopItem& item : items) {
        TiXmlElement* shop = addElement(*root, "shop");
        addTextElement(*shop, "nick", utf8(item.nick));
        addTextElement(*shop, "pic_path", item.pic_path);
    }
    return writeDocument(document, path);
}

bool CTaobaoLocalStore::isSameDay(const std::string& fileTime, const std::string& now)
{
    std::string today = now.substr(0, now.find(' '));
    return fileTime.compare(0, today.size(), today) == 0;
}

bool CTaobaoLocalStore::writeDocument(const TiXmlDocument& document, const std::string& path)
{
    TiXmlPrinter printer;
    document.Accept(&printer);
    const std::filesystem::path target(path);
    std::error_code error;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);
    return SafeFile::Save(path, printer.Str());
}
