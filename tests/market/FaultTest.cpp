// Fault injection: each mode does what it says, only within its scope and
// count, and the market serves normally afterwards.
#include "market/Catalogue.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <FreeImage.h>
#include <Poco/Exception.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <chrono>

namespace {

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override { LocalMarket::instance().reset(); }
    void TearDown() override { LocalMarket::instance().reset(); }

    static void inject(market::Fault fault, market::FaultScope scope = market::FaultScope::All, int count = -1,
                       int latencyMs = 0)
    {
        LocalMarket::instance().server().setFaults(market::FaultSettings{fault, scope, count, latencyMs});
    }
    static MarketClient::Reply userGet()
    {
        return MarketClient::call("taobao.user.get",
                                  {{"fields", "seller_credit"},
                                   {"nick", LocalMarket::instance().server().catalogue().sellers()[0].nick}});
    }
    static std::string smallPicturePath()
    {
        return "/pic/item/" + std::to_string(LocalMarket::instance().server().catalogue().products()[1].numIid) +
               ".jpg_b.jpg";
    }
    static bool answersNormally()
    {
        return userGet().body.find("<seller_credit>") != std::string::npos;
    }
};

TEST_F(FaultTest, ErrorAnswersHitOnlyTheCountedRequests)
{
    inject(market::Fault::ErrorAnswer, market::FaultScope::Gateway, 2);
    int64_t before = LocalMarket::instance().server().gatewayRequestCount();
    for (int i = 0; i < 2; ++i) {
        TiXmlDocument document;
        MarketClient::parse(userGet().body, document);
        EXPECT_EQ(document.RootElement()->ValueStr(), "error_rsp");
        EXPECT_EQ(MarketClient::texts(document, "code"), std::vector<std::string>{"7"});
    }
    EXPECT_TRUE(answersNormally());
    EXPECT_EQ(LocalMarket::instance().server().gatewayRequestCount() - before, 3);
}

TEST_F(FaultTest, DroppedConnectionsGiveNoAnswer)
{
    inject(market::Fault::DropConnection, market::FaultScope::All, 1);
    EXPECT_THROW(userGet(), Poco::Exception);
    EXPECT_TRUE(answersNormally());
}

TEST_F(FaultTest, GarbageEmptyAndServerErrorBodies)
{
    inject(market::Fault::GarbageBody);
    auto garbage = userGet();
    EXPECT_EQ(garbage.status, 200);
    TiXmlDocument document;
    document.Parse(garbage.body.c_str());
    EXPECT_TRUE(document.Error() || !document.RootElement() || document.RootElement()->ValueStr() != "rsp");
    EXPECT_FALSE(garbage.body.empty());

    inject(market::Fault::EmptyBody);
    auto empty = userGet();
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.empty());

    inject(market::Fault::Http500, market::FaultScope::Service);
    EXPECT_EQ(MarketClient::post("/quobrix/login.php", "uid=0&mv=2&sv=6").status, 500);
    EXPECT_TRUE(answersNormally()) << "a service fault reached the gateway";
}

TEST_F(FaultTest, ShortAndCorruptPictures)
{
    inject(market::Fault::ShortPicture, market::FaultScope::Pictures);
    auto shortPicture = MarketClient::get(smallPicturePath());
    EXPECT_EQ(shortPicture.status, 200);
    EXPECT_GT(shortPicture.body.size(), 0u);
    EXPECT_LE(shortPicture.body.size(), 1024u);
    EXPECT_TRUE(answersNormally()) << "a picture fault reached the gateway";

    inject(market::Fault::CorruptPicture, market::FaultScope::Pictures);
    auto corrupt = MarketClient::get(smallPicturePath());
    EXPECT_GT(corrupt.body.size(), 1024u);
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(corrupt.body.data()), DWORD(corrupt.body.size()));
    EXPECT_EQ(FreeImage_GetFileTypeFromMemory(memory, 0), FIF_UNKNOWN);
    FreeImage_CloseMemory(memory);

    LocalMarket::instance().reset();
    EXPECT_GT(MarketClient::get(smallPicturePath()).body.size(), 1024u);
}

TEST_F(FaultTest, LatencyDelaysAnswersInScopeOnly)
{
    inject(market::Fault::None, market::FaultScope::Pictures, -1, 300);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(MarketClient::get(smallPicturePath()).status, 200);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
    EXPECT_TRUE(answersNormally());
}

TEST_F(FaultTest, TheAdminEndpointSwitchesFaultsAtRunTime)
{
    auto set = MarketClient::get("/admin/faults?fault=http500&scope=gateway&count=1");
    EXPECT_EQ(set.status, 200);
    EXPECT_NE(set.body.find("fault=http500 scope=gateway count=1"), std::string::npos);
    EXPECT_EQ(userGet().status, 500);
    EXPECT_TRUE(answersNormally());
    EXPECT_NE(MarketClient::get("/admin/faults").body.find("count=0"), std::string::npos);

    EXPECT_EQ(MarketClient::get("/admin/faults?fault=meltdown").status, 400);
    EXPECT_EQ(MarketClient::get("/admin/faults?latency=-5").status, 400);
    EXPECT_EQ(MarketClient::get("/admin/faults?fault=none").status, 200);
    EXPECT_EQ(MarketClient::get("/admin/nothing").status, 404);
    EXPECT_TRUE(answersNormally());
}

}
