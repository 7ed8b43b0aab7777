// The maker's service: login answers, recorded statistics, the
// recommendation package and the pages.
#include "market/Catalogue.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>
#include <Poco/Windows936Encoding.h>
#include <Poco/Zip/ZipArchive.h>
#include <Poco/Zip/ZipStream.h>
#include <Poco/StreamCopier.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <set>
#include <sstream>

namespace {

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override { LocalMarket::instance().reset(); }
    market::MarketServer& server() { return LocalMarket::instance().server(); }
};

std::string loginValue(const TiXmlDocument& document, const char* name)
{
    auto values = MarketClient::texts(document, name);
    return values.size() == 1 ? values[0] : "(" + std::to_string(values.size()) + " values)";
}

TEST_F(ServiceTest, LoginAssignsNewUsersAnIdAndAnswersEveryElement)
{
    auto first = MarketClient::post("/quobrix/login.php", "uid=0&mv=2&sv=6");
    auto second = MarketClient::post("/quobrix/login.php", "uid=0&mv=2&sv=6");
    TiXmlDocument a, b;
    MarketClient::parse(first.body, a);
    MarketClient::parse(second.body, b);
    for (const char* name : {"r", "uid", "nrs", "cmd", "mv", "sv", "rv"})
        EXPECT_EQ(MarketClient::texts(a, name).size(), 1u) << name;
    EXPECT_NE(loginValue(a, "uid"), "0");
    EXPECT_NE(loginValue(a, "uid"), loginValue(b, "uid"));
    EXPECT_EQ(loginValue(a, "mv"), "2");
    EXPECT_EQ(loginValue(a, "sv"), "6");

    auto known = MarketClient::post("/quobrix/login.php", "uid=123456&mv=2&sv=6");
    TiXmlDocument c;
    MarketClient::parse(known.body, c);
    EXPECT_EQ(loginValue(c, "uid"), "123456");
    EXPECT_EQ(server().loginBodies().at(0), "uid=0&mv=2&sv=6");
    EXPECT_EQ(server().loginBodies().size(), 3u);
}

TEST_F(ServiceTest, TheLoginAnswerIsConfigurable)
{
    market::LoginAnswer answer;
    answer.r = 3;
    answer.uid = 777;
    answer.nrs = 60;
    answer.cmd = 6;
    answer.mv = 2;
    answer.sv = 7;
    answer.rv = 9;
    server().setLoginAnswer(answer);
    TiXmlDocument document;
    MarketClient::parse(MarketClient::post("/quobrix/login.php", "uid=5&mv=2&sv=6").body, document);
    EXPECT_EQ(loginValue(document, "r"), "3");
    EXPECT_EQ(loginValue(document, "uid"), "777");
    EXPECT_EQ(loginValue(document, "nrs"), "60");
    EXPECT_EQ(loginValue(document, "cmd"), "6");
    EXPECT_EQ(loginValue(document, "sv"), "7");
    EXPECT_EQ(loginValue(document, "rv"), "9");
    // A garbled body still logs in.
    EXPECT_EQ(MarketClient::post("/quobrix/login.php", "%%%&uid=%ZZ").status, 200);
}

TEST_F(ServiceTest, StatisticsBodiesAreRecordedByteForByte)
{
    // The client sends GBK bytes unescaped (荐 is BC F6).
    std::string body = "uid=5&us=60&sum=3&st=1&kt=0&dc=0&tc=0&kw=\xBC\xF6" "0 \xCA\xD6\xBB\xFA- 12[3]";
    EXPECT_EQ(MarketClient::post("/quobrix/logout.php", body).status, 200);
    ASSERT_EQ(server().statisticsBodies().size(), 1u);
    EXPECT_EQ(server().statisticsBodies()[0], body);
    EXPECT_NE(MarketClient::get("/admin/statistics").body.find(body), std::string::npos);
}

TEST_F(ServiceTest, ThePackageIsAZippedGbkRecommendXmlPointingAtTheCatalogue)
{
    auto reply = MarketClient::get("/quobrix/r.zip");
    ASSERT_EQ(reply.status, 200);
    EXPECT_LT(reply.body.size(), 65536u);
    std::istringstream zipped(reply.body);
    Poco::Zip::ZipArchive archive(zipped);
    auto header = archive.findHeader("recommend.xml");
    ASSERT_NE(header, archive.headerEnd());
    zipped.clear();
    Poco::Zip::ZipInputStream in(zipped, header->second);
    std::string gbk;
    Poco::StreamCopier::copyToString(in, gbk);
    EXPECT_LT(gbk.size(), 65536u);
    EXPECT_NE(gbk.find("encoding=\"GBK\""), std::string::npos);
    EXPECT_NE(gbk.find("\xC8\xC8\xC3\xC5\xCB\xD1\xCB\xF7"), std::string::npos) << "热门搜索 in GBK";

    Poco::Windows936Encoding gbkEncoding;
    Poco::UTF8Encoding utf8;
    std::string text;
    Poco::TextConverter(gbkEncoding, utf8).convert(gbk, text);
    TiXmlDocument document;
    document.Parse(text.substr(text.find("?>") + 2).c_str());
    ASSERT_FALSE(document.Error());
    EXPECT_EQ(MarketClient::texts(document, "vol"), std::vector<std::string>{"1"});

    const market::Catalogue& catalogue = server().catalogue();
    EXPECT_EQ(document.RootElement()->ValueStr(), "recommend");
    std::set<std::string> classes;
    int searches = 0, shops = 0, products = 0;
    for (const TiXmlElement* p = document.RootElement()->FirstChildElement("p"); p; p = p->NextSiblingElement("p")) {
        std::string name = p->FirstChildElement("k")->GetText();
        std::string picture = p->FirstChildElement("u")->GetText();
        EXPECT_EQ(MarketClient::get(picture.substr(picture.find("/pic/"))).status, 200) << picture;
        if (p->FirstChildElement("c"))
            classes.insert(p->FirstChildElement("c")->GetText());
        if (p->FirstChildElement("pd")) {
            ++products;
            std::string link = p->FirstChildElement("j")->GetText();
            EXPECT_EQ(MarketClient::get(link.substr(link.find("/item.htm"))).status, 200);
        } else if (p->FirstChildElement("shop")) {
            ++shops;
            EXPECT_NE(catalogue.shop(name), nullptr) << name;
        } else {
            ++searches;
            MarketClient::Params search{{"fields", "num_iid"}, {"q", name}};
            if (p->FirstChildElement("ci"))
                search.emplace_back("cid", p->FirstChildElement("ci")->GetText());
            if (p->FirstChildElement("pi"))
                search.emplace_back("props", p->FirstChildElement("pi")->GetText());
            TiXmlDocument found;
            MarketClient::parse(MarketClient::call("taobao.items.search", search).body, found);
            EXPECT_NE(MarketClient::texts(found, "totalResults").at(0), "0") << name;
        }
    }
    EXPECT_GE(classes.size(), 3u);
    EXPECT_GT(searches, 0);
    EXPECT_GT(shops, 0);
    EXPECT_GT(products, 0);
}

TEST_F(ServiceTest, ThePackageCarriesTheAnnouncedVersion)
{
    market::LoginAnswer answer;
    answer.rv = 4;
    server().setLoginAnswer(answer);
    std::string zip = MarketClient::get("/quobrix/r.zip").body;
    std::istringstream zipped(zip);
    Poco::Zip::ZipArchive archive(zipped);
    zipped.clear();
    Poco::Zip::ZipInputStream in(zipped, archive.findHeader("recommend.xml")->second);
    std::string xml;
    Poco::StreamCopier::copyToString(in, xml);
    EXPECT_NE(xml.find("<vol>4</vol>"), std::string::npos);
}

TEST_F(ServiceTest, HomeDownloadItemAndShopPagesAreServed)
{
    for (const char* page : {"/quobrix/index.htm", "/quobrix/download.htm"}) {
        auto reply = MarketClient::get(page);
        EXPECT_EQ(reply.status, 200) << page;
        EXPECT_NE(reply.body.find("<html>"), std::string::npos);
    }
    const market::Product& product = server().catalogue().products()[0];
    auto item = MarketClient::get("/item.htm?id=" + std::to_string(product.numIid));
    EXPECT_EQ(item.status, 200);
    EXPECT_NE(item.body.find(product.title), std::string::npos);
    EXPECT_EQ(MarketClient::get("/item.htm?id=1").status, 404);
    EXPECT_EQ(MarketClient::get("/item.htm?id=%zz").status, 404);
}

}
