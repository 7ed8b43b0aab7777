#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/HtmlView.h"
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

bool WaitForNothingPending(HtmlResourceFetcher& fetcher)
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
    EXPECT_FALSE(HtmlResourceFetcher::Decode(body).IsEmpty());
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
    EXPECT_EQ(HtmlResourceFetcher::Decode(PngBytes(40, 30)).Width(), 40);
    EXPECT_TRUE(HtmlResourceFetcher::Decode(PngBytes(HtmlResourceFetcher::kMaxPictureSide + 1, 2)).IsEmpty());
    EXPECT_TRUE(HtmlResourceFetcher::Decode("<html>not found</html>").IsEmpty());
    EXPECT_TRUE(HtmlResourceFetcher::Decode(PngBytes(40, 30).substr(0, 60)).IsEmpty());
}

TEST(HtmlViewPictures, PicturesArriveInTheBackgroundAndFailuresAreRemembered)
{
    HtmlResourceFetcher fetcher;
    std::atomic<int> settled{0};
    fetcher.SetListener([&] { ++settled; });
    const std::string good = ProductPicture(1);
    const std::string missing = LocalMarket::instance().serviceUrl() + "/pic/item/2.jpg";
    fetcher.Request(HtmlResourceFetcher::Kind::Picture, good);
    fetcher.Request(HtmlResourceFetcher::Kind::Picture, good);
    fetcher.Request(HtmlResourceFetcher::Kind::Picture, missing);
    fetcher.Request(HtmlResourceFetcher::Kind::Picture, "javascript:alert(1)");
    ASSERT_TRUE(WaitForNothingPending(fetcher));
    EXPECT_EQ(settled.load(), 2);

    ASSERT_TRUE(fetcher.FindPicture(good));
    EXPECT_EQ(std::max(fetcher.FindPicture(good)->Width(), fetcher.FindPicture(good)->Height()), 310);
    ASSERT_TRUE(fetcher.FindPicture(missing));
    EXPECT_TRUE(fetcher.FindPicture(missing)->IsEmpty());
    EXPECT_FALSE(fetcher.FindPicture("javascript:alert(1)"));

    fetcher.Request(HtmlResourceFetcher::Kind::Picture, missing);
    EXPECT_EQ(fetcher.Pending(), 0u);
    fetcher.Stop();
}

TEST(HtmlViewPictures, QueuedPicturesOfAnEarlierPageAreForgotten)
{
    market::FaultSettings slow;
    slow.latencyMs = 300;
    LocalMarket::instance().server().setFaults(slow);
    HtmlResourceFetcher fetcher;
    for (size_t i = 10; i < 16; ++i)
        fetcher.Request(HtmlResourceFetcher::Kind::Picture, ProductPicture(i));
    fetcher.CancelQueued();
    EXPECT_LE(fetcher.Pending(), size_t(HtmlResourceFetcher::kThreadCount));
    ASSERT_TRUE(WaitForNothingPending(fetcher));
    EXPECT_FALSE(fetcher.FindPicture(ProductPicture(15)));
    fetcher.Stop();
    LocalMarket::instance().reset();
}

namespace {

bool IsRed(uint32_t argb)
{
    return ((argb >> 16) & 0xFF) > 150 && ((argb >> 8) & 0xFF) < 80 && (argb & 0xFF) < 80;
}

int Count(const PixelImage& image, bool (*wanted)(uint32_t))
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += wanted(image.Pixel(x, y));
    return n;
}

bool IsBlack(uint32_t argb)
{
    return (argb & 0xFFFFFF) < 0x404040 && ((argb >> 8) & 0xFF) < 64;
}

// Each case names its own copy of the sheet, as the fetcher remembers sheets.
std::string StyledPage(const std::string& copy)
{
    return "<link rel=stylesheet href='" + LocalMarket::instance().serviceUrl() + "/style/item.css?copy=" + copy +
           "'><p style='font-size:40px'>样式表</p>";
}

HtmlFrame FirstFrame(HtmlView& view, std::chrono::milliseconds within)
{
    HtmlFrame frame;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (!view.TakeFrame(frame) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return frame;
}

}

TEST(HtmlViewResources, APageIsShownBeforeItsSlowStyleSheetAndRestyledWhenItArrives)
{
    LocalMarket& market = LocalMarket::instance();
    market.server().setFaults(market::FaultSettings{market::Fault::None, market::FaultScope::Service, -1, 1500});
    HtmlView view(400, 200);
    view.Load(StyledPage("slow"));
    const HtmlFrame early = FirstFrame(view, std::chrono::milliseconds(700));
    ASSERT_EQ(early.pixels.Width(), 400) << "the page is drawn without waiting for its style sheet";
    EXPECT_GT(Count(early.pixels, IsBlack), 100);
    EXPECT_EQ(Count(early.pixels, IsRed), 0);
    ASSERT_TRUE(view.WaitUntilSettled(10000));
    HtmlFrame styled;
    ASSERT_TRUE(view.TakeFrame(styled));
    EXPECT_GT(Count(styled.pixels, IsRed), 100) << "the arrived style sheet colours the text";
    market.reset();
}

TEST(HtmlViewResources, AStyleSheetThatNeverEndsLeavesThePageAsItIs)
{
    LocalMarket& market = LocalMarket::instance();
    for (market::Fault fault : {market::Fault::EndlessBody, market::Fault::TrickleBody, market::Fault::OversizedBody}) {
        SCOPED_TRACE(market::FaultInjector::faultName(fault));
        market.server().setFaults(market::FaultSettings{fault, market::FaultScope::Service, -1, 0});
        HtmlView view(400, 200);
        const auto started = std::chrono::steady_clock::now();
        view.Load(StyledPage(market::FaultInjector::faultName(fault)));
        EXPECT_TRUE(view.WaitUntilSettled(HtmlResourceFetcher::kStyleSheetTimeoutMs + 2000));
        EXPECT_LT(std::chrono::steady_clock::now() - started,
                  std::chrono::milliseconds(HtmlResourceFetcher::kStyleSheetTimeoutMs + 1500));
        HtmlFrame frame;
        ASSERT_TRUE(view.TakeFrame(frame));
        EXPECT_GT(Count(frame.pixels, IsBlack), 100);
        EXPECT_EQ(Count(frame.pixels, IsRed), 0);
    }
    market.reset();
}
