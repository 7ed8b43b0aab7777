// The maker's service over https and through a proxy, against the local marketplace.
#include "service/CQXLoginClientApi.h"
#include "tests/support/ForwardProxy.h"
#include "tests/support/LocalMarket.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestCertificates.h"

#include <gtest/gtest.h>

#include <string>

TEST(ServiceTransport, LoginAndPackageFollowTheSchemeAndTheProxy)
{
    LocalMarket::instance().reset();
    const auto trusted = TestCertificates::instance().startMarket(TestCertificates::Trusted);
    const auto wrongName = TestCertificates::instance().startMarket(TestCertificates::WrongName);
    std::string answer, package;
    {
        const ScopedVariable service("QUOBRIX_SERVICE_URL", trusted->httpsUrl());
        EXPECT_EQ(CQXLoginClientApi::PostLogin("uid=7&mv=2&sv=6", answer), 0);
        EXPECT_NE(answer.find("<uid>"), std::string::npos) << answer;
        EXPECT_GT(CQXLoginClientApi::DownloadPackage(package), 0u);
        ASSERT_EQ(trusted->loginBodies().size(), 1u);
        EXPECT_EQ(trusted->loginBodies()[0], "uid=7&mv=2&sv=6");
    }
    {
        const ScopedVariable service("QUOBRIX_SERVICE_URL", wrongName->httpsUrl());
        EXPECT_EQ(CQXLoginClientApi::PostLogin("uid=8&mv=2&sv=6", answer), -1) << "a certificate for another host";
        EXPECT_TRUE(wrongName->loginBodies().empty());
    }

    ForwardProxy proxy;
    const std::string proxyUrl = "127.0.0.1:" + std::to_string(proxy.port());
    const ScopedVariable http("http_proxy", proxyUrl), https("https_proxy", proxyUrl);
    const ScopedVariable noProxy("no_proxy", std::nullopt), noProxyUpper("NO_PROXY", std::nullopt);
    const std::string plain = LocalMarket::instance().serviceUrl();
    {
        const ScopedVariable service("QUOBRIX_SERVICE_URL", plain);
        EXPECT_EQ(CQXLoginClientApi::PostLogin("uid=9&mv=2&sv=6", answer), 0);
        EXPECT_GT(CQXLoginClientApi::DownloadPackage(package), 0u);
        EXPECT_EQ(LocalMarket::instance().server().loginBodies().back(), "uid=9&mv=2&sv=6");
    }
    {
        const ScopedVariable service("QUOBRIX_SERVICE_URL", trusted->httpsUrl());
        EXPECT_EQ(CQXLoginClientApi::PostLogin("uid=10&mv=2&sv=6", answer), 0);
        EXPECT_EQ(trusted->loginBodies().back(), "uid=10&mv=2&sv=6");
    }
    const auto seen = proxy.requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].method + " " + seen[0].target, "POST " + plain + "/quobrix/login.php");
    EXPECT_EQ(seen[1].method + " " + seen[1].target, "GET " + plain + "/quobrix/r.zip");
    EXPECT_EQ(seen[2].method + " " + seen[2].target, "CONNECT " + trusted->httpsUrl().substr(8));
    EXPECT_EQ(seen[0].proxyAuthorization, "") << "no credentials in the proxy's address, none sent";

    const ScopedVariable exempt("no_proxy", std::string("127.0.0.1:" + std::to_string(trusted->port()) + ",127.0.0.1:" +
                                                        std::to_string(LocalMarket::instance().server().port())));
    const ScopedVariable service("QUOBRIX_SERVICE_URL", plain);
    EXPECT_EQ(CQXLoginClientApi::PostLogin("uid=11&mv=2&sv=6", answer), 0);
    EXPECT_EQ(proxy.requests().size(), 3u);
}
