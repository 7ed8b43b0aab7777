#include "platform/FontLibrary.h"
#include "platform/PixelImage.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Pixels whose colour differs from the black background.
int InkedPixels(const PixelImage& image)
{
    int count = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            count += (image.Pixel(x, y) & 0xFFFFFF) != 0;
    return count;
}

PixelImage Drawn(const Font& font, const std::string& text, int width = 200, int height = 80)
{
    PixelImage image(width, height, 0xFF000000);
    font.DrawText(image, 0, 0, text, 0xFFFFFF);
    return image;
}

std::shared_ptr<Font> GetFont(const std::string& family, int height, int weight)
{
    return FontLibrary::Instance().GetFont(family, height, weight);
}

}

TEST(FontLibrary, WindowsFaceNamesResolveToInstalledFaces)
{
    FontLibrary& library = FontLibrary::Instance();
    for (const char* cjk : {"黑体", "SimHei", "宋体"})
        EXPECT_NE(library.Resolve(cjk, 400).file.find("wqy"), std::string::npos) << cjk;
    const FontFaceSource tahoma = library.Resolve("Tahoma", 400);
    EXPECT_NE(tahoma.file.find("DejaVuSans"), std::string::npos);
    EXPECT_FALSE(tahoma.embolden);
    // A real bold face for the Latin font, synthetic bold for the CJK one.
    EXPECT_NE(library.Resolve("Tahoma", 900).file.find("Bold"), std::string::npos);
    EXPECT_TRUE(library.Resolve("黑体", 700).embolden);
    EXPECT_FALSE(library.Resolve("黑体", 400).embolden);
}

TEST(FontLibrary, SameRequestGivesTheSameFont)
{
    auto a = GetFont("黑体", 30, 700);
    ASSERT_TRUE(a);
    EXPECT_EQ(a, GetFont("黑体", 30, 700));
    EXPECT_NE(a, GetFont("黑体", 36, 700));
    EXPECT_NE(a, FontLibrary::Instance().GetFont("黑体", 30, 700, FontSizeKind::EmHeight));
}

TEST(Font, CellHeightIsTheRequestedHeightWithGdiMetrics)
{
    for (int height : {30, 36, 50}) {
        auto font = GetFont("黑体", height, 700);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->Height(), height);
        EXPECT_GT(font->Ascent(), height / 2);
        EXPECT_GT(font->Descent(), 0);
        EXPECT_GE(font->ExternalLeading(), 0);
        EXPECT_EQ(font->LineHeight(), height + font->ExternalLeading());
    }
    // An em height of 16 pixels gives a taller cell, as in CSS.
    auto em = FontLibrary::Instance().GetFont("Tahoma", 16, 400, FontSizeKind::EmHeight);
    ASSERT_TRUE(em);
    EXPECT_GT(em->Height(), 16);
    EXPECT_LT(em->Height(), 24);
}

TEST(Font, TextWidthIsTheSumOfItsCharacters)
{
    auto font = GetFont("Tahoma", 50, 900);
    ASSERT_TRUE(font);
    const int one = font->MeasureText("1");
    EXPECT_GT(one, 10);
    EXPECT_EQ(font->MeasureText("128.00"), font->MeasureText("128") + font->MeasureText(".00"));
    EXPECT_EQ(font->MeasureText(""), 0);
    EXPECT_EQ(font->MeasureText("1\n"), one);
    // Wider and bolder than the regular face at the same size.
    EXPECT_GT(font->MeasureText("128.00"), GetFont("Tahoma", 50, 400)->MeasureText("128.00"));
}

TEST(Font, MissingGlyphsComeFromTheCjkFace)
{
    auto latin = GetFont("Tahoma", 36, 400);
    auto cjk = GetFont("黑体", 36, 400);
    ASSERT_TRUE(latin && cjk);
    const int width = latin->MeasureText("价");
    EXPECT_GT(width, 20);
    const PixelImage drawn = Drawn(*latin, "价");
    // Drawn from the CJK face, not as the empty-box glyph of the Latin face.
    EXPECT_GT(InkedPixels(drawn), 80);
    EXPECT_NEAR(width, cjk->MeasureText("价"), 3);
}

TEST(Font, SyntheticBoldPutsMoreInkOnThePage)
{
    const PixelImage regular = Drawn(*GetFont("黑体", 36, 400), "黑体字");
    const PixelImage bold = Drawn(*GetFont("黑体", 36, 700), "黑体字");
    EXPECT_GT(InkedPixels(bold), InkedPixels(regular) * 11 / 10);
}

TEST(Font, TextSitsInItsCellAndStaysInsideTheClip)
{
    auto font = GetFont("黑体", 50, 700);
    PixelImage image(300, 120, 0xFF000000);
    font->DrawText(image, 10, 20, "中国", 0xFF2526);
    int top = image.Height(), bottom = -1;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if ((image.Pixel(x, y) & 0xFFFFFF) != 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(top, 20);
    EXPECT_LT(bottom, 20 + font->Height());
    // Fully covered pixels carry the text colour exactly; the canvas stays opaque.
    bool exact = false;
    for (int x = 0; x < image.Width(); ++x)
        exact = exact || image.Pixel(x, 20 + font->Ascent() / 2) == 0xFFFF2526;
    EXPECT_TRUE(exact);

    PixelImage clipped(300, 120, 0xFF000000);
    font->DrawText(clipped, 10, 20, "中国", 0xFFFFFF, TextClip{0, 0, 40, 50});
    for (int y = 0; y < clipped.Height(); ++y)
        for (int x = 0; x < clipped.Width(); ++x)
            if (x >= 40 || y >= 50)
                ASSERT_EQ(clipped.Pixel(x, y), 0xFF000000u) << x << "," << y;
    EXPECT_GT(InkedPixels(clipped), 0);
    // Text partly outside the picture is cut at its edges.
    PixelImage small(20, 20, 0xFF000000);
    font->DrawText(small, -15, -30, "中", 0xFFFFFF);
    font->DrawText(small, 15, 10, "中", 0xFFFFFF);
    EXPECT_GT(InkedPixels(small), 0);
}

TEST(Font, DrawingFromSeveralThreadsGivesTheSamePictures)
{
    auto font = GetFont("黑体", 36, 700);
    const std::string text = "夏季新款纯棉短袖T恤男士宽松圆领半袖上衣 128.00";
    const PixelImage expected = Drawn(*font, text, 900, 60);
    std::vector<PixelImage> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&] {
            for (int i = 0; i < 20; ++i)
                result = Drawn(*font, text, 900, 60);
        });
    for (auto& thread : threads)
        thread.join();
    for (const PixelImage& result : results)
        EXPECT_TRUE(std::equal(result.Pixels(), result.Pixels() + 900 * 60, expected.Pixels()));
}
