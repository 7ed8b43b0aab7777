#include "platform/HtmlPictureFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ProductPicture(size_t index, const std::string& variant = "_310x310.jpg")
{
    LocalMarket& market = LocalMarket::instance();
    const auto& products = market.server().catalogue().products();
    return market.serviceUrl() + "/pic/item/" + std::to_string(products.at(index).numIid) + ".jpg" + variant;
}

bool WaitForNothingPending(HtmlPictureFetcher& fetcher)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (fetcher.Pending() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return fetcher.Pending() == 0;
}

std::string PngBytes(int width, int height)
{
    const std::string path = "/tmp/qx-html-pic-" + std::to_string(getpid()) + ".png";
    PixelImage(width, height, 0xFF336699).SavePng(path);
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    unlink(path.c_str());
    return bytes.str();
}

}

TEST(HtmlViewResources, OnlyWebAddressesAreFollowed)
{
    EXPECT_EQ(HtmlResourceLoader::Resolve(" http://a/b.jpg "), "http://a/b.jpg");
    EXPECT_EQ(HtmlResourceLoader::Resolve("HTTPS://a/b.jpg"), "HTTPS://a/b.jpg");
    EXPECT_EQ(HtmlResourceLoader::Resolve("//img.example/b.jpg"), "http://img.example/b.jpg");
    EXPECT_EQ(HtmlResourceLoader::Resolve("javascript:alert(1)"), "");
    EXPECT_EQ(HtmlResourceLoader::Resolve("file:///etc/passwd"), "");
    EXPECT_EQ(HtmlResourceLoader::Resolve("images/b.jpg"), "");
    EXPECT_EQ(HtmlResourceLoader::Resolve("data:image/png;base64,AAAA"), "");
}

TEST(HtmlViewResources, FetchesWithinTheCapsFromTheMarket)
{
    std::string body;
    ASSERT_TRUE(HtmlResourceLoader::Fetch(ProductPicture(0), 4 * 1024 * 1024, 5000, body));
    EXPECT_FALSE(HtmlPictureFetcher::Decode(body).IsEmpty());
    EXPECT_FALSE(HtmlResourceLoader::Fetch(ProductPicture(0), 100, 5000, body));
    EXPECT_FALSE(HtmlResourceLoader::Fetch(LocalMarket::instance().serviceUrl() + "/pic/item/1.jpg", 1 << 20, 5000,
                                           body));
    EXPECT_FALSE(HtmlResourceLoader::Fetch("file:///etc/passwd", 1 << 20, 5000, body));
}

TEST(HtmlViewResources, BodiesPastTheirCapOrTimeAreRefusedInTime)
{
    LocalMarket& market = LocalMarket::instance();
    for (market::Fault fault : {market::Fault::OversizedBody, market::Fault::EndlessBody, market::Fault::TrickleBody}) {
        const std::string name = market::FaultInjector::faultName(fault);
        market.server().setFaults(market::FaultSettings{fault, market::FaultScope::Pictures, -1, 0});
        const auto started = std::chrono::steady_clock::now();
        std::string body;
        EXPECT_FALSE(HtmlResourceLoader::Fetch(ProductPicture(0), 4 * 1024 * 1024, 500, body)) << name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << name;
        EXPECT_LT(body.size(), 5u << 20) << name;
    }
    market.reset();
}

TEST(HtmlViewPictures, DecodingRefusesWhatIsNotAPictureOrTooLarge)
{
    EXPECT_EQ(HtmlPictureFetcher::Decode(PngBytes(40, 30)).Width(), 40);
    EXPECT_TRUE(HtmlPictureFetcher::Decode(PngBytes(HtmlPictureFetcher::kMaxPictureSide + 1, 2)).IsEmpty());
    EXPECT_TRUE(HtmlPictureFetcher::Decode("<html>not found</html>").IsEmpty());
    EXPECT_TRUE(HtmlPictureFetcher::Decode(PngBytes(40, 30).substr(0, 60)).IsEmpty());
}

TEST(HtmlViewPictures, PicturesArriveInTheBackgroundAndFailuresAreRemembered)
{
    HtmlPictureFetcher fetcher;
    std::atomic<int> settled{0};
    fetcher.SetListener([&] { ++settled; });
    const std::string good = ProductPicture(1);
    const std::string missing = LocalMarket::instance().serviceUrl() + "/pic/item/2.jpg";
    fetcher.Request(good);
    fetcher.Request(good);
    fetcher.Request(missing);
    fetcher.Request("javascript:alert(1)");
    ASSERT_TRUE(WaitForNothingPending(fetcher));
    EXPECT_EQ(settled.load(), 2);

    ASSERT_TRUE(fetcher.Find(good));
    EXPECT_EQ(std::max(fetcher.Find(good)->Width(), fetcher.Find(good)->Height()), 310);
    ASSERT_TRUE(fetcher.Find(missing));
    EXPECT_TRUE(fetcher.Find(missing)->IsEmpty());
    EXPECT_FALSE(fetcher.Find("javascript:alert(1)"));

    fetcher.Request(missing);
    EXPECT_EQ(fetcher.Pending(), 0u);
    fetcher.Stop();
}

TEST(HtmlViewPictures, QueuedPicturesOfAnEarlierPageAreForgotten)
{
    market::FaultSettings slow;
    slow.latencyMs = 300;
    LocalMarket::instance().server().setFaults(slow);
    HtmlPictureFetcher fetcher;
    for (size_t i = 10; i < 16; ++i)
        fetcher.Request(ProductPicture(i));
    fetcher.CancelQueued();
    EXPECT_LE(fetcher.Pending(), size_t(HtmlPictureFetcher::kThreadCount));
    ASSERT_TRUE(WaitForNothingPending(fetcher));
    EXPECT_FALSE(fetcher.Find(ProductPicture(15)));
    fetcher.Stop();
    LocalMarket::instance().reset();
}
