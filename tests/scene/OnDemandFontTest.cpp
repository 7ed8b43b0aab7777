// Text drawn with the glyph-by-glyph font must look exactly like text drawn
// with CEGUI's own FreeType font from the same file, while rasterising only
// the glyphs it is asked for.
#include "tests/support/SceneWindow.h"

#include "common/CEGuiOnDemandFont.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/OpenGL/GLRenderer.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char* const kFileGroup = "qx-test-full-paths";
const CEGUI::Sizef kNativeResolution(640, 480);

std::string ChineseFontFile()
{
    for (const std::string& file : CQX_MainWnd::FontCandidates())
        if (IsRegularFile(file))
            return file;
    return std::string();
}

// Lines of text covering many blocks of 256 code points: ASCII, then
// ideographs spread over the whole unified range.
std::vector<CEGUI::String> ManyGlyphLines()
{
    std::vector<CEGUI::String> lines(1, CEGUI::String("Quobrix 0123456789 (pgjy) AZaz ~!@#$%^&*_+"));
    CEGUI::utf32 codepoint = 0x4E00;
    for (int line = 0; line < 30; ++line) {
        CEGUI::String text;
        for (int column = 0; column < 50; ++column, codepoint += 13)
            text += codepoint;
        lines.push_back(text);
    }
    return lines;
}

class OnDemandFont : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Lives to the end of the test process, like the window: unloading
        // CEGUI's image codec would leave FreeImage calling into freed code.
        if (s_renderer)
            return;
        SceneWindow& window = SceneWindow::Instance();
        CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
        CEGUI::System::setDefaultImageCodecName("FreeImageImageCodec");
        s_renderer = &CEGUI::OpenGLRenderer::bootstrapSystem(
            CEGUI::Sizef(static_cast<float>(window.Width()), static_cast<float>(window.Height())));
        s_renderer->enableExtraStateSettings(true);
    }

    void SetUp() override
    {
        m_file = ChineseFontFile();
        ASSERT_FALSE(m_file.empty()) << "no Chinese font installed; scripts/setup.sh installs one";
    }

    void TearDown() override
    {
        CEGUI::FontManager::getSingleton().destroyAll();
    }

    CEGuiOnDemandFont& OnDemand(const char* name, float pointSize)
    {
        return static_cast<CEGuiOnDemandFont&>(CEGuiOnDemandFont::Create(
            name, pointSize, m_file, kFileGroup, CEGUI::ASM_Vertical, kNativeResolution));
    }

    CEGUI::FreeTypeFont& ByBlocks(const char* name, float pointSize)
    {
        return static_cast<CEGUI::FreeTypeFont&>(CEGUI::FontManager::getSingleton().createFreeTypeFont(
            name, pointSize, true, m_file, kFileGroup, CEGUI::ASM_Vertical, kNativeResolution));
    }

    // The lines drawn white on black, one under the other from the top left.
    static PixelImage Draw(const CEGUI::Font& font, const std::vector<CEGUI::String>& lines)
    {
        SceneWindow& window = SceneWindow::Instance();
        window.BeginFrame();
        CEGUI::GeometryBuffer& buffer = s_renderer->createGeometryBuffer();
        const CEGUI::Rectf clip(0, 0, static_cast<float>(window.Width()), static_cast<float>(window.Height()));
        buffer.setClippingRegion(clip);
        float y = 4;
        for (const CEGUI::String& line : lines) {
            font.drawText(buffer, line, CEGUI::Vector2f(6.5f, y), &clip, CEGUI::ColourRect(CEGUI::Colour(1, 1, 1)));
            y += font.getLineSpacing();
        }
        s_renderer->beginRendering();
        s_renderer->getDefaultRenderTarget().activate();
        buffer.draw();
        s_renderer->getDefaultRenderTarget().deactivate();
        s_renderer->endRendering();
        s_renderer->destroyGeometryBuffer(buffer);
        return window.ReadPixels();
    }

    // Pixels that differ by more than a sampler's rounding: the two fonts
    // place a glyph at different texture coordinates, and filtering between
    // texels may then come out one level apart.
    static int DifferentPixels(const PixelImage& a, const PixelImage& b)
    {
        int different = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) {
                const uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
                different += std::abs(RedOf(p) - RedOf(q)) > 1 || std::abs(GreenOf(p) - GreenOf(q)) > 1 ||
                             std::abs(BlueOf(p) - BlueOf(q)) > 1;
            }
        return different;
    }

    static int LitPixels(const PixelImage& image)
    {
        int lit = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                lit += RedOf(image.Pixel(x, y)) > 64;
        return lit;
    }

    static CEGUI::OpenGLRenderer* s_renderer;
    std::string m_file;
};

CEGUI::OpenGLRenderer* OnDemandFont::s_renderer = nullptr;

TEST_F(OnDemandFont, DrawsTextExactlyAsTheBlockRasterisingFontDoesAcrossSeveralAtlases)
{
    const std::vector<CEGUI::String> lines = ManyGlyphLines();
    CEGuiOnDemandFont& onDemand = OnDemand("on-demand", 10);
    const PixelImage expected = Draw(ByBlocks("by-blocks", 10), lines);
    const PixelImage drawn = Draw(onDemand, lines);

    SceneWindow::SaveScreenshot(drawn, "on_demand_font");
    EXPECT_GT(LitPixels(expected), 50000) << "the reference text was not drawn";
    EXPECT_EQ(DifferentPixels(expected, drawn), 0);
    EXPECT_GE(onDemand.AtlasCount(), 2u) << "the text should have filled more than one atlas";
}

TEST_F(OnDemandFont, RasterisesOnlyTheGlyphsItDraws)
{
    CEGuiOnDemandFont& font = OnDemand("on-demand", 10);
    Draw(font, {CEGUI::String(reinterpret_cast<const CEGUI::utf8*>("商品分类"))});
    EXPECT_EQ(font.RasterisedGlyphCount(), 4u);

    // Drawn again, nothing new is rasterised.
    Draw(font, {CEGUI::String(reinterpret_cast<const CEGUI::utf8*>("分类商品"))});
    EXPECT_EQ(font.RasterisedGlyphCount(), 4u);
}

TEST_F(OnDemandFont, StartsAFreshAtlasWhenTheFontIsLoadedAgainAtAnotherSize)
{
    const std::vector<CEGUI::String> lines = ManyGlyphLines();
    CEGuiOnDemandFont& onDemand = OnDemand("on-demand", 10);
    CEGUI::FreeTypeFont& byBlocks = ByBlocks("by-blocks", 10);
    Draw(onDemand, lines);

    onDemand.setPointSize(7);
    byBlocks.setPointSize(7);
    const PixelImage drawn = Draw(onDemand, lines);
    const PixelImage expected = Draw(byBlocks, lines);
    EXPECT_GT(LitPixels(expected), 20000) << "the reference text was not drawn";
    EXPECT_EQ(DifferentPixels(expected, drawn), 0);
}

} // namespace
