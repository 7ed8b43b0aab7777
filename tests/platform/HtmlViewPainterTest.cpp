#include "platform/HtmlPainter.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

int CountPixels(const PixelImage& image, uint32_t argb)
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += image.Pixel(x, y) == argb;
    return n;
}

}

TEST(HtmlViewPainter, FillsStayInsideTheClipAndBlendByAlpha)
{
    PixelImage image(20, 10, kWhite);
    HtmlPainter painter(image);
    painter.PushClip({5, 0, 10, 10});
    painter.FillRect({0, 0, 20, 4}, kRed);
    EXPECT_EQ(CountPixels(image, kRed), 10 * 4);
    EXPECT_EQ(image.Pixel(4, 0), kWhite);
    painter.PopClip();

    painter.FillRect({0, 5, 1, 1}, 0x80000000);
    const uint32_t half = image.Pixel(0, 5);
    EXPECT_EQ(half >> 24, 0xFFu);
    EXPECT_NEAR(int(half & 0xFF), 0x7F, 2);
    painter.FillRect({1, 5, 1, 1}, 0x00000000);
    EXPECT_EQ(image.Pixel(1, 5), kWhite);
}

TEST(HtmlViewPainter, BoxesFarOutsideTheViewTouchOnlyVisiblePixels)
{
    PixelImage image(16, 16, kWhite);
    HtmlPainter painter(image);
    painter.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kRed);
    EXPECT_EQ(CountPixels(image, kWhite), 16 * 16);
    painter.FillRect({-1000000, 8, INT_MAX, INT_MAX}, kBlue);
    EXPECT_EQ(CountPixels(image, kBlue), 16 * 8);

    PixelImage picture(2, 2, kRed);
    painter.DrawPicture(picture, {4, 4, 0, 5});
    painter.FillEllipse({2000000000, 0, 100, 100}, kRed);
    EXPECT_EQ(CountPixels(image, kRed), 0);
    painter.DrawPicture(picture, {INT_MIN / 2, INT_MIN / 2, INT_MAX, INT_MAX});
    EXPECT_EQ(CountPixels(image, kRed), 16 * 16);
}

TEST(HtmlViewPainter, PicturesAreCopiedOrScaledIntoTheirBox)
{
    PixelImage picture(2, 1);
    picture.SetPixel(0, 0, kRed);
    picture.SetPixel(1, 0, kBlue);

    PixelImage image(10, 4, kWhite);
    HtmlPainter painter(image);
    painter.DrawPicture(picture, {1, 1, 2, 1});
    EXPECT_EQ(image.Pixel(1, 1), kRed);
    EXPECT_EQ(image.Pixel(2, 1), kBlue);
    EXPECT_EQ(image.Pixel(3, 1), kWhite);

    painter.DrawPicture(picture, {0, 2, 8, 2});
    EXPECT_EQ(image.Pixel(0, 3), kRed);
    EXPECT_EQ(image.Pixel(7, 3), kBlue);
    EXPECT_EQ(image.Pixel(8, 3), kWhite);
    const uint32_t middle = image.Pixel(4, 3);
    EXPECT_GT(middle & 0xFF, 0x20u);
    EXPECT_GT((middle >> 16) & 0xFF, 0x20u);

    PixelImage translucent(1, 1, 0x00123456);
    painter.DrawPicture(translucent, {9, 0, 1, 1});
    EXPECT_EQ(image.Pixel(9, 0), kWhite);
}

TEST(HtmlViewPainter, EllipsesFillTheirCentreButNotTheCorners)
{
    PixelImage image(9, 9, kWhite);
    HtmlPainter painter(image);
    painter.FillEllipse({0, 0, 9, 9}, kRed);
    EXPECT_EQ(image.Pixel(4, 4), kRed);
    EXPECT_EQ(image.Pixel(0, 4), kRed);
    EXPECT_EQ(image.Pixel(0, 0), kWhite);
    EXPECT_EQ(image.Pixel(8, 8), kWhite);
}
