#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/HtmlView.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <utility>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 520;
constexpr uint32_t kBorderGrey = 0xFFC0C0C0;

std::string MarketPicture()
{
    LocalMarket& market = LocalMarket::instance();
    return market.serviceUrl() + "/pic/item/" + std::to_string(market.server().catalogue().products().at(3).numIid) +
           ".jpg";
}

// The page the detail window builds for a product, in its exact form.
std::string ProductPage(const std::string& pictureUrl)
{
    return "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
           "<div style=\"text-align:center\"><img src='" + pictureUrl +
           "_310x310.jpg'style='margin:10;padding:0'/><br><b>结束时间：2026-12-31 23:59:59</b><br><br></div>"
           "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"90%\">"
           "<tr><th>品牌</th><td>Quobrix</td></tr><tr><th>颜色</th><td>红色</td></tr></table></html>";
}

HtmlFrame Render(HtmlView& view, const std::string& page)
{
    view.Load(page);
    EXPECT_TRUE(view.WaitUntilSettled(20000));
    HtmlFrame frame;
    EXPECT_TRUE(view.TakeFrame(frame));
    return frame;
}

bool IsDark(uint32_t argb)
{
    return ((argb >> 16) & 0xFF) < 96 && ((argb >> 8) & 0xFF) < 96 && (argb & 0xFF) < 96;
}

int CountIn(const PixelImage& image, int top, int bottom, bool (*wanted)(uint32_t))
{
    int n = 0;
    for (int y = top; y < bottom && y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += wanted(image.Pixel(x, y));
    return n;
}

int LongestRun(const PixelImage& image, int y, uint32_t argb)
{
    int longest = 0, run = 0;
    for (int x = 0; x < image.Width(); ++x) {
        run = image.Pixel(x, y) == argb ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Where the picture lies unscaled in the image: its top-left corner, or
// (-1, -1) when no block of the image equals the picture.
std::pair<int, int> FindPicture(const PixelImage& image, const PixelImage& picture)
{
    for (int y = 0; y + picture.Height() <= image.Height(); ++y)
        for (int x = 0; x + picture.Width() <= image.Width(); ++x) {
            bool same = true;
            for (int py = 0; py < picture.Height() && same; py += 7)
                for (int px = 0; px < picture.Width() && same; px += 7)
                    same = image.Pixel(x + px, y + py) == picture.Pixel(px, py);
            if (same)
                return {x, y};
        }
    return {-1, -1};
}

}

TEST(HtmlViewPage, TheProductPageShowsItsPictureBoldTextAndTableBorders)
{
    const std::string picture = MarketPicture();
    std::string bytes;
    ASSERT_TRUE(HtmlResourceLoader::Fetch(picture + "_310x310.jpg", 1 << 22, 5000, bytes));
    const PixelImage expected = HtmlResourceFetcher::Decode(bytes);
    ASSERT_FALSE(expected.IsEmpty());

    HtmlView view(kWidth, kHeight);
    const HtmlFrame frame = Render(view, ProductPage(picture));
    ASSERT_EQ(frame.pixels.Width(), kWidth);
    ASSERT_EQ(frame.pixels.Height(), kHeight);
    frame.pixels.SavePng("html_view_product_page.png");

    // The picture, whole and centred, 10 pixels below the page's margin.
    const auto [pictureLeft, pictureTop] = FindPicture(frame.pixels, expected);
    ASSERT_GE(pictureLeft, 0);
    EXPECT_NEAR(pictureLeft, (kWidth - expected.Width()) / 2, 1);
    EXPECT_EQ(pictureTop, 8 + 10);
    const int pictureBottom = pictureTop + expected.Height();
    EXPECT_EQ(frame.pixels.Pixel(pictureLeft - 20, pictureTop + 20), 0xFFFFFFFF);

    // The bold end time below it: dark glyph pixels.
    EXPECT_GT(CountIn(frame.pixels, pictureBottom + 1, pictureBottom + 40, IsDark), 200);

    // The table: long grey border lines across most of its 90% width.
    int borderRows = 0;
    for (int y = pictureBottom + 40; y < kHeight; ++y)
        borderRows += LongestRun(frame.pixels, y, kBorderGrey) > kWidth / 2;
    EXPECT_GE(borderRows, 3);
    EXPECT_GT(frame.contentHeight, pictureBottom + 60);
}

TEST(HtmlViewPage, WithoutItsPictureThePageHasNoPictureBlock)
{
    HtmlView view(kWidth, kHeight);
    const HtmlFrame frame = Render(view, ProductPage("javascript:alert(1)//"));
    EXPECT_GT(CountIn(frame.pixels, 0, 60, IsDark), 100);
    EXPECT_LT(frame.contentHeight, 200);
}

TEST(HtmlViewPage, ScrollingStaysWithinThePage)
{
    HtmlView view(kWidth, kHeight);
    Render(view, "<div style='height:3000px;background-color:#336699'>tall</div>");
    view.ScrollBy(500);
    ASSERT_TRUE(view.WaitUntilSettled(5000));
    HtmlFrame frame;
    ASSERT_TRUE(view.TakeFrame(frame));
    EXPECT_EQ(frame.scrollTop, 500);
    view.ScrollBy(1000000);
    ASSERT_TRUE(view.WaitUntilSettled(5000));
    ASSERT_TRUE(view.TakeFrame(frame));
    EXPECT_EQ(frame.scrollTop, frame.contentHeight - kHeight);
    view.ScrollBy(-2000000);
    ASSERT_TRUE(view.WaitUntilSettled(5000));
    ASSERT_TRUE(view.TakeFrame(frame));
    EXPECT_EQ(frame.scrollTop, 0);
    EXPECT_FALSE(view.TakeFrame(frame));
}

TEST(HtmlViewPage, ClickedWebLinksAreReportedAndOthersAreNot)
{
    HtmlView view(kWidth, kHeight);
    Render(view, "<a href='http://shop.example/item?id=7'>去看看</a><br><a href='javascript:alert(1)'>脚本</a>");
    view.Click(10, 14);
    view.Click(10, 34);
    view.Click(500, 300);
    ASSERT_TRUE(view.WaitUntilSettled(5000));
    std::string link;
    ASSERT_TRUE(view.TakeClickedLink(link));
    EXPECT_EQ(link, "http://shop.example/item?id=7");
    EXPECT_FALSE(view.TakeClickedLink(link));
}

TEST(HtmlViewPage, ANewerViewReplacesThePageOfAnOlderOne)
{
    HtmlView older(kWidth, kHeight);
    Render(older, "<p>first</p>");
    HtmlView newer(kWidth, kHeight);
    Render(newer, "<p>second</p>");
    older.ScrollBy(10);
    older.Load("<p>late</p>");
    HtmlFrame frame;
    EXPECT_TRUE(older.WaitUntilSettled(100));
    EXPECT_FALSE(older.TakeFrame(frame));
    newer.ScrollBy(10);
    EXPECT_TRUE(newer.WaitUntilSettled(5000));
}
