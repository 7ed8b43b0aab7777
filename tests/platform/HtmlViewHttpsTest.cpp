#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/HtmlView.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string TemporaryFolder()
{
    const std::string folder = "/tmp/qx-https-" + std::to_string(getpid());
    std::system(("mkdir -p " + folder).c_str());
    return folder;
}

// A self-signed certificate for the loopback address, made with openssl.
void MakeCertificate(const std::string& certificate, const std::string& key)
{
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
                                "-addext subjectAltName=IP:127.0.0.1 -keyout '" + key + "' -out '" + certificate +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Two markets serving https: one whose certificate the client trusts (it is
// named by SSL_CERT_FILE, as an extra system certificate would be), one whose
// certificate nobody signed.
class HtmlViewHttps : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = TemporaryFolder();
        MakeCertificate(s_folder + "/trusted.pem", s_folder + "/trusted.key");
        MakeCertificate(s_folder + "/unknown.pem", s_folder + "/unknown.key");
        setenv("SSL_CERT_FILE", (s_folder + "/trusted.pem").c_str(), 1);
        s_trusted = StartMarket("trusted");
        s_unknown = StartMarket("unknown");
    }

    static void TearDownTestSuite()
    {
        s_trusted.reset();
        s_unknown.reset();
        std::system(("rm -rf '" + s_folder + "'").c_str());
    }

    static std::unique_ptr<market::MarketServer> StartMarket(const std::string& name)
    {
        market::MarketOptions options;
        options.port = 0;
        options.dataDir = LocalMarket::dataDir();
        options.productCount = LocalMarket::kProductCount;
        options.tlsCertificateFile = s_folder + "/" + name + ".pem";
        options.tlsKeyFile = s_folder + "/" + name + ".key";
        auto server = std::make_unique<market::MarketServer>(options);
        server->start();
        return server;
    }

    static std::string Picture(const market::MarketServer& server, size_t index)
    {
        return server.httpsUrl() + "/pic/item/" + std::to_string(server.catalogue().products().at(index).numIid) +
               ".jpg_310x310.jpg";
    }

    static std::string s_folder;
    static std::unique_ptr<market::MarketServer> s_trusted;
    static std::unique_ptr<market::MarketServer> s_unknown;
};

std::string HtmlViewHttps::s_folder;
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
