#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/HtmlView.h"
#include "tests/support/TestCertificates.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Two markets serving https: one whose certificate the client trusts (its
// authority is named by SSL_CERT_FILE, as an extra system certificate would
// be), one whose certificate nobody signed.
class HtmlViewHttps : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_trusted = TestCertificates::instance().startMarket(TestCertificates::Trusted);
        s_unknown = TestCertificates::instance().startMarket(TestCertificates::Unknown);
    }

    static void TearDownTestSuite()
    {
        s_trusted.reset();
        s_unknown.reset();
    }

    static std::string Picture(const market::MarketServer& server, size_t index)
    {
        return server.httpsUrl() + "/pic/item/" + std::to_string(server.catalogue().products().at(index).numIid) +
               ".jpg_310x310.jpg";
    }

    static std::unique_ptr<market::MarketServer> s_trusted;
    static std::unique_ptr<market::MarketServer> s_unknown;
};

std::unique_ptr<market::MarketServer> HtmlViewHttps::s_trusted;
std::unique_ptr<market::MarketServer> HtmlViewHttps::s_unknown;

}

TEST_F(HtmlViewHttps, ResourcesOverHttpsAreFetchedWithinTheirCaps)
{
    ASSERT_FALSE(s_trusted->httpsUrl().empty());
    std::string body;
    ASSERT_TRUE(HtmlResourceLoader::Fetch(Picture(*s_trusted, 20), HtmlResourceFetcher::kMaxPictureBytes, 5000, body));
    EXPECT_EQ(HtmlResourceFetcher::Decode(body).Width(), 310);
    EXPECT_FALSE(HtmlResourceLoader::Fetch(Picture(*s_trusted, 20), 100, 5000, body)) << "the cap holds over https";
    ASSERT_TRUE(HtmlResourceLoader::Fetch(s_trusted->httpsUrl() + "/style/item.css", 4096, 5000, body));
    EXPECT_NE(body.find("color"), std::string::npos);
}

TEST_F(HtmlViewHttps, ACertificateErrorIsAMissingPictureAndNothingMore)
{
    std::string body;
    const auto started = Clock::now();
    EXPECT_FALSE(HtmlResourceLoader::Fetch(Picture(*s_unknown, 21), HtmlResourceFetcher::kMaxPictureBytes, 5000, body));
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));

    HtmlView view(400, 400);
    const std::string trusted = Picture(*s_trusted, 22), unknown = Picture(*s_unknown, 23);
    view.Load("<p>两张图</p><img src='" + trusted + "'><img src='" + unknown + "'>");
    ASSERT_TRUE(view.WaitUntilSettled(10000));
    HtmlFrame frame;
    EXPECT_TRUE(view.TakeFrame(frame));
    const auto shown = HtmlResourceFetcher::getInstance().FindPicture(trusted);
    const auto missing = HtmlResourceFetcher::getInstance().FindPicture(unknown);
    ASSERT_TRUE(shown && missing);
    EXPECT_EQ(shown->Width(), 310);
    EXPECT_TRUE(missing->IsEmpty());
}
