#include "platform/Canvas.h"
#include "platform/FontLibrary.h"

#include <gtest/gtest.h>

TEST(Canvas, StartsOpaqueBlackAndFillsClippedRectangles)
{
    Canvas canvas(40, 30);
    EXPECT_EQ(canvas.Image().Pixel(0, 0), 0xFF000000u);
    canvas.FillRect(-5, 25, 10, 10, 0x123456);
    EXPECT_EQ(canvas.Image().Pixel(0, 29), 0xFF123456u);
    EXPECT_EQ(canvas.Image().Pixel(4, 25), 0xFF123456u);
    EXPECT_EQ(canvas.Image().Pixel(5, 25), 0xFF000000u);
    EXPECT_EQ(canvas.Image().Pixel(0, 24), 0xFF000000u);
}

TEST(Canvas, GdiColourValuesSwapRedAndBlue)
{
    EXPECT_EQ(Canvas::ColorFromColorref(2434815), 0xFF2625u);
    EXPECT_EQ(Canvas::ColorFromColorref(0x0000FF), 0xFF0000u);
}

TEST(Canvas, BlitsCopyOpaquePixelsAndStretchToTheAskedSize)
{
    PixelImage picture(2, 2, 0x00FF0000);
    picture.SetPixel(1, 1, 0x000000FF);
    Canvas canvas(10, 10);
    canvas.Blit(picture, 9, -1);
    EXPECT_EQ(canvas.Image().Pixel(9, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.Image().Pixel(8, 0), 0xFF000000u);

    canvas.StretchBlit(picture, 0, 4, 4, 4);
    EXPECT_EQ(canvas.Image().Pixel(0, 4), 0xFFFF0000u);
    EXPECT_EQ(canvas.Image().Pixel(3, 7), 0xFF0000FFu);
    EXPECT_EQ(canvas.Image().Pixel(4, 4), 0xFF000000u);
    EXPECT_EQ(canvas.Image().Pixel(0, 8), 0xFF000000u);
}

TEST(Canvas, TextUsesTheSelectedFontAndColour)
{
    Canvas canvas(200, 60);
    EXPECT_EQ(canvas.MeasureText("abc"), 0);
    canvas.DrawText(0, 0, "abc");
    canvas.SelectFont(FontLibrary::Instance().GetFont("Tahoma", 30, 400));
    EXPECT_EQ(canvas.TextHeight(), 30);
    EXPECT_GT(canvas.MeasureText("abc"), 20);
    canvas.SetTextColor(0x00FF00);
    canvas.DrawText(5, 5, "IIII");
    int green = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = canvas.Image().Pixel(x, y);
            EXPECT_EQ(p & 0xFF00FF, 0u);
            green += p == 0xFF00FF00;
        }
    EXPECT_GT(green, 20);
}
