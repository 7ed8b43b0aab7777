#include "market/WebPages.h"

#include "market/Catalogue.h"
#include "market/DescriptionComposer.h"
#include "market/MarketLinks.h"
#include "market/RequestParameters.h"

#include <Poco/NumberParser.h>
#include <QuobrixVersion.h>

#include <stdexcept>

namespace market {

namespace {

std::string document(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title><style>body{font-family:sans-serif;margin:2em auto;max-width:56em;color:#333}"
           "h1{color:#e4393c}table{border-collapse:collapse}th,td{border:1px solid #ccc;padding:4px 8px}"
           "</style></head><body>" + body + "</body></html>";
}

const std::string kHome =
    std::string("<h1>Quobrix 立体淘宝</h1><p>Quobrix 把商品摆成一面会动的立体墙：搜索、按店铺浏览、"
                "收藏喜欢的宝贝，点一下就能看详情。</p><p>当前版本 ") +
    QuobrixVersion::kString + "。</p><p><a href=\"/quobrix/download.htm\">下载最新版本</a></p>";

const std::string kDownload =
    std::string("<h1>下载 Quobrix</h1><p>最新版本：") + QuobrixVersion::kString + "</p><ul><li>更流畅的商品墙</li>"
    "<li>推荐频道按类别浏览</li><li>修正若干问题</li></ul><p><a href=\"/quobrix/index.htm\">返回首页</a></p>";

// The style sheet item pages may link, as sellers' pages link their shop's.
const char* const kItemStyle = "body{color:#c00000;background:#ffffff}b{color:#003399}\n";

int64_t idArgument(const std::string& query, const char* name)
{
    Poco::Int64 id = 0;
    try {
        Poco::NumberParser::tryParse64(RequestParameters::parse(query, true).get(name), id);
    } catch (const std::invalid_argument&) {
        id = 0;
    }
    return id;
}

}

bool WebPages::page(const std::string& path, const std::string& query, const MarketLinks& links,
                    HttpAnswer& answer) const
{
    if (path == "/style/item.css") {
        answer.contentType = "text/css; charset=utf-8";
        answer.body = kItemStyle;
        return true;
    }
    answer.contentType = "text/html; charset=utf-8";
    if (path == "/quobrix/index.htm")
        answer.body = document("Quobrix", kHome);
    else if (path == "/quobrix/download.htm")
        answer.body = document("下载 Quobrix", kDownload);
    else if (path == "/item.htm")
        answer.body = itemPage(idArgument(query, "id"), links);
    else if (path == "/shop.htm")
        answer.body = shopPage(idArgument(query, "sid"), links);
    return !answer.body.empty();
}

std::string WebPages::itemPage(int64_t numIid, const MarketLinks& links) const
{
    const Product* product = catalogue_.product(numIid);
    if (!product)
        return std::string();
    std::string body = "<h1>" + product->title + "</h1><p><img src=\"" + links.productPicture(numIid) +
                       "_310x310.jpg\"></p><p>价格：<b>" + yuanText(product->priceCents) + "</b> 元　卖家：" + product->nick + "　30天售出 " +
                       std::to_string(product->volume) + " 件</p>";
    if (const Shop* shop = catalogue_.shop(product->nick))
        body += "<p><a href=\"" + links.shopPage(shop->sid) + "\">进入店铺：" + shop->title + "</a></p>";
    return document(product->title, body + DescriptionComposer::describe(*product, catalogue_, links));
}

std::string WebPages::shopPage(int64_t sid, const MarketLinks& links) const
{
    for (const Shop& shop : catalogue_.shops()) {
        if (shop.sid != sid)
            continue;
        std::string body = "<h1>" + shop.title + "</h1><p><img src=\"" + links.shopLogo(sid) + "\"></p>" + shop.desc +
                           "<p>" + (shop.bulletin.empty() ? std::string("暂无公告") : shop.bulletin) + "</p>";
        return document(shop.title, body);
    }
    return std::string();
}

}
