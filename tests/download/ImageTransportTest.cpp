// Pictures over https and through a proxy, against the local marketplace.
#include "download/CTaobaoImageDownloader.h"
#include "platform/SessionInterrupter.h"
#include "taobao/CTaobaoProductInfo.h"
#include "tests/support/ForwardProxy.h"
#include "tests/support/LocalMarket.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestCertificates.h"
#include "tests/taobao/TempDir.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace {

std::string PicturePath(const market::MarketServer& server, size_t index)
{
    return "/pic/item/" + std::to_string(server.catalogue().products().at(index).numIid) + ".jpg_310x310.jpg";
}

// Where the picture ended up: a file of its own, or the placeholder.
bool Downloads(const std::string& url, const TempDir& dir)
{
    CImageRequest request;
    request.url = url;
    request.localPath = dir.file("picture.jpg");
    std::filesystem::remove(request.localPath);
    EXPECT_TRUE(CTaobaoImageDownloader::downloadImageImpl(request));
    return request.localPath != kNoPicturePath &&
           std::filesystem::file_size(request.localPath) >= CTaobaoImageDownloader::kMinPictureBytes;
}

}

TEST(PictureTransport, PicturesFollowTheirSchemeAndTheProxy)
{
    LocalMarket::instance().reset();
    TempDir dir;
    const auto trusted = TestCertificates::instance().startMarket(TestCertificates::Trusted);
    const auto unknown = TestCertificates::instance().startMarket(TestCertificates::Unknown);
    const std::string secure = trusted->httpsUrl() + PicturePath(*trusted, 30);
    const std::string plain = LocalMarket::instance().serviceUrl() + PicturePath(*trusted, 31);
    EXPECT_TRUE(Downloads(secure, dir));
    EXPECT_FALSE(Downloads(unknown->httpsUrl() + PicturePath(*unknown, 30), dir)) << "an unknown certificate";
    EXPECT_EQ(unknown->pictureRequestCount(), 0);

    ForwardProxy proxy;
    const std::string proxyUrl = "http://viewer:pw@127.0.0.1:" + std::to_string(proxy.port());
    const ScopedVariable http("HTTP_PROXY", proxyUrl), https("HTTPS_PROXY", proxyUrl);
    const ScopedVariable lowerHttp("http_proxy", std::nullopt), lowerHttps("https_proxy", std::nullopt);
    const ScopedVariable noProxy("no_proxy", std::string("example.com"));
    EXPECT_TRUE(Downloads(plain, dir));
    EXPECT_TRUE(Downloads(secure, dir));
    auto seen = proxy.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].method + " " + seen[0].target, "GET " + plain);
    EXPECT_EQ(seen[1].method + " " + seen[1].target, "CONNECT " + trusted->httpsUrl().substr(8));
    EXPECT_EQ(seen[1].proxyAuthorization, "Basic dmlld2VyOnB3");

    const ScopedVariable exempt("no_proxy", std::string(".example.com, 127.0.0.1"));
    EXPECT_TRUE(Downloads(plain, dir));
    EXPECT_TRUE(Downloads(secure, dir));
    EXPECT_EQ(proxy.requests().size(), 2u);
}

TEST(PictureTransport, QuittingEndsAnHttpsDownloadAtOnce)
{
    const auto trusted = TestCertificates::instance().startMarket(TestCertificates::Trusted);
    market::FaultSettings slow;
    slow.scope = market::FaultScope::Pictures;
    slow.latencyMs = 8000;
    trusted->setFaults(slow);
    TempDir dir;
    CImageRequest request;
    request.url = trusted->httpsUrl() + PicturePath(*trusted, 32);
    request.localPath = dir.file("slow.jpg");
    const auto started = std::chrono::steady_clock::now();
    std::thread download([&request] { CTaobaoImageDownloader::downloadImageImpl(request); });
    // Long enough for the handshake and the request on loopback; were it
    // not, the interrupter refuses the wait and the test still holds.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    SessionInterrupter::getInstance().InterruptAll();
    download.join();
    SessionInterrupter::getInstance().Reset();
    EXPECT_EQ(request.localPath, kNoPicturePath);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4)) << "not the market's 8 s";
}
