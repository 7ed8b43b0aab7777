#include "market/TopGateway.h"

#include "market/Catalogue.h"
#include "market/DescriptionComposer.h"
#include "market/MarketLinks.h"
#include "market/XmlAnswerWriter.h"
#include "market/TopSignature.h"

#include <Poco/DateTime.h>
#include <Poco/DateTimeParser.h>
#include <Poco/NumberParser.h>
#include <Poco/StringTokenizer.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace market {

namespace {

const int kMaxSearchPage = 200;
const int kMaxAffiliatePage = 40;

// A refusal in TOP's own terms; becomes an "error_rsp" answer.
struct TopError {
    int code;
    std::string message;
    std::string subMessage;
};

TopError missingArgument(const std::string& name)
{
    return {40, "Missing Required Arguments", name};
}

TopError invalidArgument(const std::string& name)
{
    return {41, "Invalid Arguments", name};
}

std::string required(const RequestParameters& p, const std::string& name)
{
    std::string value = p.get(name);
    if (value.empty())
        throw missingArgument(name);
    return value;
}

int64_t integerArgument(const std::string& text, const std::string& name)
{
    Poco::Int64 value = 0;
    if (!Poco::NumberParser::tryParse64(text, value))
        throw invalidArgument(name);
    return value;
}

// Yuan with up to two decimals, as the gateway takes prices.
int64_t centsArgument(const std::string& text, const std::string& name)
{
    double value = 0;
    if (!Poco::NumberParser::tryParseFloat(text, value) || !std::isfinite(value) || value < 0 || value > 1e12)
        throw invalidArgument(name);
    return int64_t(std::llround(value * 100));
}

std::vector<std::string> split(const std::string& text, const char* separators)
{
    Poco::StringTokenizer tokens(text, separators,
                                 Poco::StringTokenizer::TOK_IGNORE_EMPTY | Poco::StringTokenizer::TOK_TRIM);
    return std::vector<std::string>(tokens.begin(), tokens.end());
}

std::string highlighted(const std::string& title, const std::vector<std::string>& words)
{
    std::string result = title;
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        std::string lower = ProductSearch::lowerAscii(result);
        size_t at = lower.find(ProductSearch::lowerAscii(word));
        if (at != std::string::npos)
            result = result.substr(0, at) + "<span class=H>" + result.substr(at, word.size()) + "</span>" +
                     result.substr(at + word.size());
    }
    return result;
}

bool wants(const std::vector<std::string>& fields, const char* name)
{
    return std::find(fields.begin(), fields.end(), name) != fields.end();
}

SearchQuery::Order searchOrder(const std::string& text)
{
    static const std::map<std::string, SearchQuery::Order> orders = {
        {"price:desc", SearchQuery::Order::PriceDesc},       {"price:asc", SearchQuery::Order::PriceAsc},
        {"seller_credit:desc", SearchQuery::Order::CreditDesc}, {"volume:desc", SearchQuery::Order::VolumeDesc},
        {"delist_time:desc", SearchQuery::Order::DelistDesc}, {"delist_time:asc", SearchQuery::Order::DelistAsc},
        {"credit_desc", SearchQuery::Order::CreditDesc},
    };
    auto found = orders.find(text);
    if (found == orders.end())
        throw invalidArgument("order_by");
    return found->second;
}

std::time_t startOfToday()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    return std::mktime(&local);
}

}

TopGateway::TopGateway(const Catalogue& catalogue, const ProductSearch& search, std::string appKey, std::string secret)
    : catalogue_(catalogue),
      search_(search),
      appKey_(std::move(appKey)),
      secret_(std::move(secret)),
      listingBase_(startOfToday())
{
    methods_ = {
        {"taobao.items.search", &TopGateway::itemsSearch},
        {"taobao.taobaoke.items.get", &TopGateway::taobaokeItemsGet},
        {"taobao.taobaoke.items.convert", &TopGateway::taobaokeItemsConvert},
        {"taobao.item.get", &TopGateway::itemGet},
        {"taobao.user.get", &TopGateway::userGet},
        {"taobao.shop.get", &TopGateway::shopGet},
        {"taobao.itempropvalues.get", &TopGateway::itemPropValuesGet},
        {"taobao.itemcats.get", &TopGateway::itemCatsGet},
    };
}

HttpAnswer TopGateway::errorAnswer(int code, const std::string& message, const std::string& subMessage)
{
    HttpAnswer answer;
    answer.body = XmlAnswerWriter::error(code, message, subMessage);
    return answer;
}

HttpAnswer TopGateway::answer(const std::string& encodedParameters, const MarketLinks& links) const
{
    try {
        RequestParameters parameters = checkedParameters(encodedParameters);
        auto method = methods_.find(parameters.get("method"));
        if (method == methods_.end())
            throw TopError{22, "Invalid Method", parameters.get("method").substr(0, 64)};
        HttpAnswer answer;
        answer.body = (this->*method->second)(parameters, links);
        return answer;
    } catch (const TopError& error) {
        return errorAnswer(error.code, error.message, error.subMessage);
    } catch (const std::invalid_argument& error) {
        HttpAnswer answer = errorAnswer(41, "Invalid Arguments", error.what());
        answer.status = 400;
        return answer;
    }
}

RequestParameters TopGateway::checkedParameters(const std::string& encoded) const
{
    RequestParameters parameters = RequestParameters::parse(encoded, false);
    checkCommonParameters(parameters);
    if (TopSignature::verify(parameters, secret_))
        return parameters;
    // A client that encodes spaces as "+" signed the spaces.
    if (encoded.find('+') != std::string::npos) {
        RequestParameters spaced = RequestParameters::parse(encoded, true);
        if (TopSignature::verify(spaced, secret_))
            return spaced;
    }
    throw TopError{25, "Invalid Signature", ""};
}

void TopGateway::checkCommonParameters(const RequestParameters& p) const
{
    if (p.get("method").empty())
        throw TopError{21, "Missing Method", ""};
    if (p.get("app_key").empty())
        throw TopError{28, "Missing App Key", ""};
    if (p.get("sign").empty())
        throw TopError{24, "Missing Signature", ""};
    std::string timestamp = p.get("timestamp");
    if (timestamp.empty())
        throw TopError{30, "Missing Timestamp", ""};
    Poco::DateTime parsed;
    int zone = 0;
    if (!Poco::DateTimeParser::tryParse("%Y-%m-%d %H:%M:%S", timestamp, parsed, zone))
        throw TopError{31, "Invalid Timestamp", ""};
    std::string version = p.get("v");
    if (version.empty())
        throw TopError{32, "Missing Version", ""};
    if (version != "1.0" && version != "2.0")
        throw TopError{34, "Unsupported Version", ""};
    if (p.get("app_key") != appKey_)
        throw TopError{29, "Invalid App Key", ""};
    std::string signMethod = p.get("sign_method");
    if (!signMethod.empty() && signMethod != "md5")
        throw TopError{25, "Invalid Signature", "sign_method"};
}

std::string TopGateway::delistTime(const Product& product) const
{
    std::time_t at = listingBase_ + std::time_t(product.delistOffset);
    std::tm local{};
    localtime_r(&at, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

void TopGateway::writeProduct(TiXmlElement* item, const Product& product, const Fields& fields,
                              const MarketLinks& links, const std::vector<std::string>& highlight) const
{
    const Seller* seller = catalogue_.seller(product.nick);
    for (const std::string& field : fields) {
        const char* name = field.c_str();
        if (field == "num_iid")
            XmlAnswerWriter::addText(item, name, std::to_string(product.numIid));
        else if (field == "title")
            XmlAnswerWriter::addMarkup(item, name, highlighted(product.title, highlight));
        else if (field == "nick")
            XmlAnswerWriter::addText(item, name, product.nick);
        else if (field == "pic_path" || field == "pic_url")
            XmlAnswerWriter::addText(item, name, links.productPicture(product.numIid));
        else if (field == "price")
            XmlAnswerWriter::addText(item, name, yuanText(product.priceCents));
        else if (field == "type")
            XmlAnswerWriter::addText(item, name, product.type);
        else if (field == "volume")
            XmlAnswerWriter::addText(item, name, std::to_string(product.volume));
        else if (field == "cid")
            XmlAnswerWriter::addText(item, name, std::to_string(product.cid));
        else if (field == "num")
            XmlAnswerWriter::addText(item, name, std::to_string(product.num));
        else if (field == "delist_time")
            XmlAnswerWriter::addText(item, name, delistTime(product));
        else if (field == "express_fee" || field == "post_fee")
            XmlAnswerWriter::addText(item, name, yuanText(product.expressFeeCents));
        else if (field == "detail_url")
            XmlAnswerWriter::addText(item, name, links.itemPage(product.numIid));
        else if (field == "desc")
            XmlAnswerWriter::addMarkup(item, name, DescriptionComposer::describe(product, catalogue_, links));
        else if (field == "location" && seller) {
            TiXmlElement* location = XmlAnswerWriter::addElement(item, name);
            XmlAnswerWriter::addText(location, "state", seller->state);
            XmlAnswerWriter::addText(location, "city", seller->city);
        }
    }
}

void TopGateway::readPage(const RequestParameters& p, SearchQuery& query, int maxPageSize) const
{
    if (p.has("page_no"))
        query.pageNo = int(std::min<int64_t>(integerArgument(p.get("page_no"), "page_no"), 1000000));
    if (p.has("page_size"))
        query.pageSize = int(std::min<int64_t>(integerArgument(p.get("page_size"), "page_size"), maxPageSize));
    if (query.pageNo < 1)
        throw invalidArgument("page_no");
    if (query.pageSize < 1)
        throw invalidArgument("page_size");
}

void TopGateway::readFilters(const RequestParameters& p, SearchQuery& query) const
{
    std::string cid = p.get("cid");
    if (!cid.empty())
        query.cid = std::max<int64_t>(integerArgument(cid, "cid"), 0);
    if (p.has("start_price") && !p.get("start_price").empty())
        query.startCents = centsArgument(p.get("start_price"), "start_price");
    if (p.has("end_price") && !p.get("end_price").empty())
        query.endCents = centsArgument(p.get("end_price"), "end_price");
}

std::string TopGateway::itemsSearch(const RequestParameters& p, const MarketLinks& links) const
{
    Fields fields = split(required(p, "fields"), ",");
    SearchQuery query;
    query.words = split(p.get("q"), " ");
    readFilters(p, query);
    for (const std::string& pair : split(p.get("props"), ";")) {
        size_t colon = pair.find(':');
        if (colon == std::string::npos)
            throw invalidArgument("props");
        query.props.emplace_back(integerArgument(pair.substr(0, colon), "props"),
                                 integerArgument(pair.substr(colon + 1), "props"));
    }
    query.nicks = split(p.get("nicks"), ",");
    query.stateOrCity = p.get("location.state");
    query.city = p.get("location.city");
    query.mallOnly = p.get("is_mall") == "true";
    query.prepayOnly = p.get("is_prepay") == "true";
    query.promotedOnly = !p.get("promoted_service").empty();
    if (!p.get("order_by").empty())
        query.order = searchOrder(p.get("order_by"));
    readPage(p, query, kMaxSearchPage);

    SearchResult result = search_.run(query);
    XmlAnswerWriter writer;
    TiXmlElement* items = XmlAnswerWriter::addList(writer.root(), "items");
    for (const Product* product : result.page)
        writeProduct(XmlAnswerWriter::addElement(items, "item_list"), *product, fields, links, query.words);
    TiXmlElement* categories = XmlAnswerWriter::addList(writer.root(), "item_categories");
    for (const auto& count : result.categoryCounts) {
        TiXmlElement* entry = XmlAnswerWriter::addElement(categories, "category_list");
        XmlAnswerWriter::addText(entry, "category_id", std::to_string(count.first));
        XmlAnswerWriter::addText(entry, "count", std::to_string(count.second));
    }
    XmlAnswerWriter::addText(writer.root(), "totalResults", std::to_string(result.total));
    writer.setTrailingComment("top-local.router01");
    return writer.str();
}

std::string TopGateway::taobaokeItemsGet(const RequestParameters& p, const MarketLinks& links) const
{
    Fields fields = split(required(p, "fields"), ",");
    required(p, "nick");
    SearchQuery query;
    query.words = split(p.get("keyword"), " ");
    readFilters(p, query);
    query.stateOrCity = p.get("area");
    std::string sort = p.get("sort");
    if (!sort.empty())
        query.order = searchOrder(sort);
    readPage(p, query, kMaxAffiliatePage);

    SearchResult result = search_.run(query);
    XmlAnswerWriter writer;
    TiXmlElement* items = XmlAnswerWriter::addList(writer.root(), "taobaoke_items");
    for (const Product* product : result.page)
        writeProduct(XmlAnswerWriter::addElement(items, "taobaokeItem"), *product, fields, links, {});
    XmlAnswerWriter::addText(writer.root(), "totalResults", std::to_string(result.total));
    return writer.str();
}

std::string TopGateway::taobaokeItemsConvert(const RequestParameters& p, const MarketLinks& links) const
{
    Fields fields = split(required(p, "fields"), ",");
    std::string nick = required(p, "nick");
    std::vector<std::string> ids = split(required(p, "num_iids"), ",");
    if (ids.size() > 10)
        throw invalidArgument("num_iids");
    XmlAnswerWriter writer;
    TiXmlElement* items = XmlAnswerWriter::addList(writer.root(), "taobaoke_items");
    int found = 0;
    for (const std::string& id : ids) {
        const Product* product = catalogue_.product(integerArgument(id, "num_iids"));
        if (!product)
            continue;
        ++found;
        TiXmlElement* item = XmlAnswerWriter::addElement(items, "taobaokeItem");
        XmlAnswerWriter::addText(item, "num_iid", id);
        if (wants(fields, "click_url"))
            XmlAnswerWriter::addText(item, "click_url", links.clickUrl(product->numIid, nick));
    }
    XmlAnswerWriter::addText(writer.root(), "totalResults", std::to_string(found));
    return writer.str();
}

std::string TopGateway::itemGet(const RequestParameters& p, const MarketLinks& links) const
{
    Fields fields = split(required(p, "fields"), ",");
    const Product* product = catalogue_.product(integerArgument(required(p, "num_iid"), "num_iid"));
    if (!product)
        throw TopError{550, "Remote service error", "isv.item-not-exist"};
    XmlAnswerWriter writer;
    writeProduct(XmlAnswerWriter::addElement(writer.root(), "item"), *product, fields, links, {});
    writer.setTrailingComment("top-local.router02");
    return writer.str();
}

std::string TopGateway::userGet(const RequestParameters& p, const MarketLinks&) const
{
    Fields fields = split(required(p, "fields"), ",");
    const Seller* seller = catalogue_.seller(required(p, "nick"));
    if (!seller)
        throw TopError{550, "Remote service error", "isv.user-not-exist"};
    XmlAnswerWriter writer;
    TiXmlElement* user = XmlAnswerWriter::addElement(writer.root(), "user");
    XmlAnswerWriter::addText(user, "nick", seller->nick);
    if (wants(fields, "seller_credit")) {
        TiXmlElement* credit = XmlAnswerWriter::addElement(user, "seller_credit");
        XmlAnswerWriter::addText(credit, "level", std::to_string(seller->level));
        XmlAnswerWriter::addText(credit, "score", std::to_string(seller->goodNum));
        XmlAnswerWriter::addText(credit, "total_num", std::to_string(seller->totalNum));
        XmlAnswerWriter::addText(credit, "good_num", std::to_string(seller->goodNum));
    }
    if (wants(fields, "location")) {
        TiXmlElement* location = XmlAnswerWriter::addElement(user, "location");
        XmlAnswerWriter::addText(location, "state", seller->state);
        XmlAnswerWriter::addText(location, "city", seller->city);
    }
    writer.setTrailingComment("top-local.router03");
    return writer.str();
}

std::string TopGateway::shopGet(const RequestParameters& p, const MarketLinks& links) const
{
    Fields fields = split(required(p, "fields"), ",");
    const Shop* shop = catalogue_.shop(required(p, "nick"));
    if (!shop)
        throw TopError{550, "Remote service error", "isv.shop-not-exist"};
    XmlAnswerWriter writer;
    TiXmlElement* element = XmlAnswerWriter::addElement(writer.root(), "shop");
    for (const std::string& field : fields) {
        const char* name = field.c_str();
        if (field == "sid")
            XmlAnswerWriter::addText(element, name, std::to_string(shop->sid));
        else if (field == "cid")
            XmlAnswerWriter::addText(element, name, std::to_string(shop->cid));
        else if (field == "title")
            XmlAnswerWriter::addMarkup(element, name, shop->title);
        else if (field == "nick")
            XmlAnswerWriter::addText(element, name, shop->nick);
        else if (field == "desc")
            XmlAnswerWriter::addMarkup(element, name, shop->desc);
        else if (field == "bulletin" && !shop->bulletin.empty())
            XmlAnswerWriter::addMarkup(element, name, shop->bulletin);
        else if (field == "pic_path")
            XmlAnswerWriter::addText(element, name, links.shopLogo(shop->sid));
        else if (field == "created")
            XmlAnswerWriter::addText(element, name, shop->created);
        else if (field == "modified")
            XmlAnswerWriter::addText(element, name, shop->modified);
    }
    return writer.str();
}

std::string TopGateway::itemPropValuesGet(const RequestParameters& p, const MarketLinks&) const
{
    Fields fields = split(required(p, "fields"), ",");
    int64_t cid = integerArgument(required(p, "cid"), "cid");
    XmlAnswerWriter writer;
    TiXmlElement* list = XmlAnswerWriter::addList(writer.root(), "prop_values");
    for (const PropValue& value : catalogue_.propValues(cid)) {
        TiXmlElement* entry = XmlAnswerWriter::addElement(list, "prop_value");
        for (const std::string& field : fields) {
            const char* name = field.c_str();
            if (field == "cid")
                XmlAnswerWriter::addText(entry, name, std::to_string(value.cid));
            else if (field == "pid")
                XmlAnswerWriter::addText(entry, name, std::to_string(value.pid));
            else if (field == "prop_name")
                XmlAnswerWriter::addText(entry, name, value.propName);
            else if (field == "vid")
                XmlAnswerWriter::addText(entry, name, std::to_string(value.vid));
            else if (field == "name")
                XmlAnswerWriter::addText(entry, name, value.name);
            else if (field == "name_alias")
                XmlAnswerWriter::addText(entry, name, value.nameAlias);
            else if (field == "sort_order")
                XmlAnswerWriter::addText(entry, name, std::to_string(value.sortOrder));
        }
    }
    return writer.str();
}

std::string TopGateway::itemCatsGet(const RequestParameters& p, const MarketLinks&) const
{
    Fields fields = split(required(p, "fields"), ",");
    std::vector<const Category*> categories;
    if (p.has("parent_cid")) {
        categories = catalogue_.children(integerArgument(p.get("parent_cid"), "parent_cid"));
    } else {
        std::vector<std::string> ids = split(required(p, "cids"), ",");
        if (ids.size() > 1000)
            throw invalidArgument("cids");
        for (const std::string& id : ids)
            if (const Category* category = catalogue_.category(integerArgument(id, "cids")))
                categories.push_back(category);
    }
    XmlAnswerWriter writer;
    TiXmlElement* list = XmlAnswerWriter::addList(writer.root(), "item_cats");
    for (const Category* category : categories) {
        TiXmlElement* entry = XmlAnswerWriter::addElement(list, "item_cat");
        for (const std::string& field : fields) {
            const char* name = field.c_str();
            if (field == "cid")
                XmlAnswerWriter::addText(entry, name, std::to_string(category->cid));
            else if (field == "parent_cid")
                XmlAnswerWriter::addText(entry, name, std::to_string(category->parentCid));
            else if (field == "name")
                XmlAnswerWriter::addText(entry, name, category->name);
            else if (field == "is_parent")
                XmlAnswerWriter::addText(entry, name, category->isParent ? "true" : "false");
        }
    }
    return writer.str();
}

}
