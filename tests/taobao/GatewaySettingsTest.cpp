// The gateway and the client's identity come from the settings, each value
// overridden by its environment variable, and every request is signed with
// the identity in use.
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoGateway.h"
#include "tests/support/LocalMarket.h"

#include "tests/support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// A gateway of another application than the built-in one.
class OtherGateway : public ::testing::Test
{
protected:
    static market::MarketOptions Options()
    {
        LocalMarket::instance();  // its catalogue is the one served here too
        market::MarketOptions options;
        options.port = 0;
        options.dataDir = LocalMarket::dataDir();
        options.productCount = LocalMarket::kProductCount;
        options.appKey = "app-of-my-own";
        options.appSecret = "secret-of-my-own";
        return options;
    }
    void SetUp() override { m_server.start(); }
    void TearDown() override { CTaobaoGateway::use(CTaobaoGateway()); }

    bool Ask()
    {
        std::string body;
        return CTaobaoConnector::fetchCategoryInfo_ItemCats("1", body);
    }

    market::MarketServer m_server{Options()};
    ScopedVariable m_noUrl{CTaobaoGateway::kUrlVariable, std::nullopt};
    ScopedVariable m_noKey{CTaobaoGateway::kAppKeyVariable, std::nullopt};
    ScopedVariable m_noSecret{CTaobaoGateway::kAppSecretVariable, std::nullopt};
};

}

TEST_F(OtherGateway, SettingsNameTheGatewayAndTheIdentityAndVariablesOverrideThem)
{
    CTaobaoGateway settings;
    settings.url = m_server.topUrl();
    settings.appKey = "app-of-my-own";
    settings.appSecret = "secret-of-my-own";
    CTaobaoGateway::use(settings);
    EXPECT_EQ(CTaobaoConnector::gatewayUrl(), m_server.topUrl());
    const int64_t before = m_server.gatewayRequestCount();
    EXPECT_TRUE(Ask()) << "signed with the settings' secret";
    EXPECT_GT(m_server.gatewayRequestCount(), before) << "the settings' gateway was asked";

    settings.appSecret = "a-wrong-secret";
    CTaobaoGateway::use(settings);
    EXPECT_FALSE(Ask()) << "the gateway refuses a request signed with another secret";

    ScopedVariable secret(CTaobaoGateway::kAppSecretVariable, "secret-of-my-own");
    EXPECT_TRUE(Ask()) << "the variable wins over the file";
}

TEST_F(OtherGateway, WhatNothingSetsIsBuiltIn)
{
    const CTaobaoGateway gateway = CTaobaoGateway::current();
    EXPECT_EQ(gateway.url, "http://127.0.0.1:8600/router/rest");
    EXPECT_EQ(gateway.appKey, market::kClientAppKey);
    EXPECT_EQ(gateway.appSecret, market::kClientAppSecret);
}
