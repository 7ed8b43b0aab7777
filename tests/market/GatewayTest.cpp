// The TOP gateway over real HTTP: every method's answer carries the elements
// the client's visitors read, and requests are refused the way TOP did.
#include "market/Catalogue.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

namespace {

using Params = MarketClient::Params;

const market::Catalogue& catalogue()
{
    return LocalMarket::instance().server().catalogue();
}

std::string errorCode(const MarketClient::Reply& reply)
{
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    const TiXmlElement* root = document.RootElement();
    if (!root || root->ValueStr() != "error_rsp")
        return "";
    const TiXmlElement* code = root->FirstChildElement("code");
    return code && code->GetText() ? code->GetText() : "";
}

void expectChildren(const TiXmlDocument& document, const char* element, std::initializer_list<const char*> children)
{
    struct Finder : TiXmlVisitor {
        const char* name;
        const TiXmlElement* found = nullptr;
        bool VisitEnter(const TiXmlElement& e, const TiXmlAttribute*) override
        {
            if (!found && e.ValueStr() == name)
                found = &e;
            return true;
        }
    } finder;
    finder.name = element;
    document.Accept(&finder);
    ASSERT_NE(finder.found, nullptr) << "no <" << element << ">";
    for (const char* child : children)
        EXPECT_NE(finder.found->FirstChildElement(child), nullptr) << "<" << element << "> lacks <" << child << ">";
}

class GatewayTest : public ::testing::Test {
protected:
    void SetUp() override { LocalMarket::instance().reset(); }
};

TEST_F(GatewayTest, SearchAnswersCarryItemsTotalsAndCategoryStatistics)
{
    auto reply = MarketClient::call("taobao.items.search",
                                    {{"fields", "num_iid,title,pic_path,price,nick,type,volume"},
                                     {"page_size", "200"}, {"page_no", "1"}});
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body.compare(0, 38, "<?xml version=\"1.0\" encoding=\"utf-8\" ?"), 0);
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    EXPECT_EQ(document.RootElement()->ValueStr(), "rsp");
    expectChildren(document, "item_list", {"num_iid", "title", "pic_path", "price", "nick", "type", "volume"});
    expectChildren(document, "category_list", {"category_id", "count"});
    EXPECT_EQ(MarketClient::texts(document, "num_iid").size(), 200u);
    EXPECT_EQ(MarketClient::texts(document, "totalResults"),
              std::vector<std::string>{std::to_string(LocalMarket::kProductCount)});
}

TEST_F(GatewayTest, AffiliateAnswersCarryTaobaokeItemsAndClickUrls)
{
    auto list = MarketClient::call("taobao.taobaoke.items.get", {{"fields", "num_iid,title,nick,pic_url,price"},
                                                                 {"nick", "dorvaquelin"}, {"page_size", "40"},
                                                                 {"page_no", "2"}});
    TiXmlDocument document;
    MarketClient::parse(list.body, document);
    expectChildren(document, "taobaokeItem", {"num_iid", "title", "nick", "pic_url", "price"});
    EXPECT_EQ(MarketClient::texts(document, "num_iid").size(), 40u);

    std::string numIid = MarketClient::texts(document, "num_iid").front();
    auto converted = MarketClient::call("taobao.taobaoke.items.convert",
                                        {{"fields", "click_url"}, {"num_iids", numIid}, {"nick", "dorvaquelin"}});
    TiXmlDocument convertedDocument;
    MarketClient::parse(converted.body, convertedDocument);
    auto urls = MarketClient::texts(convertedDocument, "click_url");
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_NE(urls[0].find(numIid), std::string::npos);
    EXPECT_EQ(MarketClient::get(urls[0].substr(urls[0].find("/item.htm"))).status, 200);
}

TEST_F(GatewayTest, ItemSellerAndShopAnswersCarryTheDetailFields)
{
    const market::Product& product = catalogue().products()[7];
    auto item = MarketClient::call("taobao.item.get",
                                   {{"fields", "desc,express_fee,location,delist_time,num,detail_url"},
                                    {"num_iid", std::to_string(product.numIid)}, {"nick", product.nick}});
    TiXmlDocument itemDocument;
    MarketClient::parse(item.body, itemDocument);
    expectChildren(itemDocument, "item", {"desc", "num", "delist_time", "location", "express_fee", "detail_url"});
    expectChildren(itemDocument, "location", {"state", "city"});
    std::string desc = MarketClient::texts(itemDocument, "desc").at(0);
    EXPECT_NE(desc.find("<table"), std::string::npos);
    EXPECT_NE(desc.find("<img"), std::string::npos);
    EXPECT_NE(desc.find("<h3>"), std::string::npos);

    auto user = MarketClient::call("taobao.user.get", {{"fields", "seller_credit"}, {"nick", product.nick}});
    TiXmlDocument userDocument;
    MarketClient::parse(user.body, userDocument);
    expectChildren(userDocument, "seller_credit", {"level", "score", "total_num", "good_num"});
    EXPECT_EQ(MarketClient::texts(userDocument, "total_num").at(0),
              std::to_string(catalogue().seller(product.nick)->totalNum));

    auto shop = MarketClient::call("taobao.shop.get", {{"fields", "sid,cid,title,nick,desc,bulletin,pic_path,created,"
                                                                  "modified"},
                                                       {"nick", product.nick}});
    TiXmlDocument shopDocument;
    MarketClient::parse(shop.body, shopDocument);
    expectChildren(shopDocument, "shop", {"sid", "cid", "title", "nick", "desc", "pic_path", "created", "modified"});
    EXPECT_EQ(MarketClient::texts(shopDocument, "nick").at(0), product.nick);
}

TEST_F(GatewayTest, CategoryAndPropertyAnswersListTheTreeWithTheBrandFirst)
{
    const market::Category& top = *catalogue().children(0).front();
    const market::Category& child = *catalogue().children(top.cid).front();
    auto cats = MarketClient::call("taobao.itemcats.get", {{"fields", "cid,parent_cid,name,is_parent"},
                                                           {"cids", std::to_string(child.cid) + "," +
                                                                        std::to_string(top.cid) + ",999"}});
    TiXmlDocument catsDocument;
    MarketClient::parse(cats.body, catsDocument);
    expectChildren(catsDocument, "item_cat", {"cid", "parent_cid", "name", "is_parent"});
    EXPECT_EQ(MarketClient::texts(catsDocument, "cid"),
              (std::vector<std::string>{std::to_string(child.cid), std::to_string(top.cid)}));
    EXPECT_EQ(MarketClient::texts(catsDocument, "parent_cid").at(0), std::to_string(top.cid));
    EXPECT_EQ(MarketClient::texts(catsDocument, "is_parent").at(1), "true");

    auto props = MarketClient::call("taobao.itempropvalues.get",
                                    {{"fields", "cid,pid,prop_name,vid,name,name_alias,sort_order"},
                                     {"cid", std::to_string(child.cid)}, {"datetime", "2005-01-01 00:00:00"}});
    TiXmlDocument propsDocument;
    MarketClient::parse(props.body, propsDocument);
    expectChildren(propsDocument, "prop_value", {"cid", "pid", "prop_name", "vid", "name", "name_alias", "sort_order"});
    auto names = MarketClient::texts(propsDocument, "prop_name");
    ASSERT_GT(names.size(), 10u);
    EXPECT_EQ(names.front(), "品牌");
    EXPECT_NE(std::find(names.begin(), names.end(), "颜色分类"), names.end());
}

TEST_F(GatewayTest, SignaturesInEitherFormAndAnyCaseAreAccepted)
{
    Params request{{"fields", "seller_credit"}, {"nick", catalogue().sellers()[0].nick}};
    auto plain = MarketClient::signedParams("taobao.user.get", request);
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + MarketClient::encodeQuery(plain))), "");

    auto bothEnds = MarketClient::signedParams("taobao.user.get", request, true);
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + MarketClient::encodeQuery(bothEnds))), "");

    auto lower = plain;
    for (char& c : lower.back().second)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + MarketClient::encodeQuery(lower))), "");

    // Other TOP clients add their own common parameters and sign them too.
    Params extra = request;
    extra.emplace_back("format", "xml");
    extra.emplace_back("sign_method", "md5");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.user.get", extra)), "");
}

TEST_F(GatewayTest, AKnownRequestSignsToTheKnownDigest)
{
    // Digest worked out by hand: MD5 of the secret and the sorted names and values.
    std::string query = "app_key=31875046&fields=seller_credit&method=taobao.user.get"
                        "&nick=%E5%BF%AB%E4%B9%90%E5%B0%8F%E5%85%941&timestamp=2026-12-01%2008:30:00&v=1.0";
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + query + "&sign=7FADA704A7ED611EB108B054236FEA48")), "550");
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + query + "&sign=C1AE13E7234D63A527866A8B5A015D63")), "550");
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + query + "&sign=7FADA704A7ED611EB108B054236FEA49")), "25");
}

TEST_F(GatewayTest, AChineseKeywordIsSignedOverItsUtf8Bytes)
{
    auto reply = MarketClient::call("taobao.items.search", {{"fields", "num_iid,title"}, {"q", "手机"}});
    ASSERT_EQ(errorCode(reply), "");
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    auto titles = MarketClient::texts(document, "title");
    ASSERT_FALSE(titles.empty());
    for (const std::string& title : titles)
        EXPECT_NE(title.find("<span class=H>手机</span>"), std::string::npos) << title;
}

TEST_F(GatewayTest, APlusIsTakenAsTheSignerMeantIt)
{
    auto replaceAll = [](std::string text, const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    };
    // Our client signs a raw "+" and sends it unescaped.
    auto literal = MarketClient::signedParams("taobao.items.search", {{"fields", "num_iid"}, {"q", "c++"}});
    std::string rawPlus = replaceAll(MarketClient::encodeQuery(literal), "%2B", "+");
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + rawPlus)), "");

    // Form-encoding clients sign a space and send it as "+".
    auto spaced = MarketClient::signedParams("taobao.items.search", {{"fields", "num_iid"}, {"q", "华为 正品行货"}});
    std::string plusForSpace = replaceAll(MarketClient::encodeQuery(spaced), "%20", "+");
    auto reply = MarketClient::get("/router/rest?" + plusForSpace);
    ASSERT_EQ(errorCode(reply), "");
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    EXPECT_NE(MarketClient::texts(document, "totalResults").at(0), "0");
}

TEST_F(GatewayTest, BadRequestsGetTheClassicErrorCodes)
{
    Params ok{{"fields", "seller_credit"}, {"nick", catalogue().sellers()[0].nick}};
    auto unsigned_ = MarketClient::signedParams("taobao.user.get", ok);
    unsigned_.pop_back();
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + MarketClient::encodeQuery(unsigned_))), "24");

    auto tampered = MarketClient::signedParams("taobao.user.get", ok);
    tampered[1].second = "someone else";
    EXPECT_EQ(errorCode(MarketClient::get("/router/rest?" + MarketClient::encodeQuery(tampered))), "25");

    Params wrongKey = ok;
    wrongKey.emplace_back("app_key", "12345678");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.user.get", wrongKey)), "29");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.items.delete", ok)), "22");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.user.get", {{"fields", "seller_credit"}})), "40");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.items.search", {{"fields", "title"}, {"page_size", "x"}})), "41");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.items.search", {{"fields", "title"}, {"order_by", "mood"}})),
              "41");
    EXPECT_EQ(errorCode(MarketClient::call("taobao.item.get", {{"fields", "desc"}, {"num_iid", "1"}})), "550");
}

TEST_F(GatewayTest, MalformedAndHugeRequestsGetAClearAnswerAndTheServerStaysUp)
{
    auto broken = MarketClient::get("/router/rest?method=taobao.user.get&nick=%E5%BF%G1&sign=00");
    EXPECT_EQ(broken.status, 400);
    EXPECT_EQ(errorCode(broken), "41");

    EXPECT_EQ(MarketClient::get("/no/such/page").status, 404);
    EXPECT_EQ(MarketClient::get("/router/rest?" + std::string(20000, 'a')).status / 100, 4);
    EXPECT_EQ(MarketClient::post("/router/rest", std::string(3 << 20, 'x')).status, 413);
    EXPECT_EQ(MarketClient::get("/router/rest?&&==&=&x").status, 200);

    EXPECT_EQ(errorCode(MarketClient::call("taobao.user.get", {{"fields", "seller_credit"},
                                                                {"nick", catalogue().sellers()[0].nick}})),
              "");
}

TEST_F(GatewayTest, FormPostsAreAnsweredLikeGets)
{
    auto params = MarketClient::signedParams("taobao.items.search", {{"fields", "num_iid"}, {"page_size", "5"}});
    auto reply = MarketClient::post("/router/rest", MarketClient::encodeQuery(params));
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    EXPECT_EQ(MarketClient::texts(document, "num_iid").size(), 5u);
}

}
