// The GUI's fonts: text drawn with the glyph-by-glyph font must look exactly
// like text drawn with CEGUI's own FreeType font from the same file, while
// rasterising only the glyphs it is asked for; font files are mapped, not
// copied, and only when CEGUI can use them.
#include "tests/support/SceneGui.h"
#include "tests/support/SceneWindow.h"

#include "common/CEGuiOnDemandFont.h"
#include "common/CEGuiResourceProvider.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"

#include <CEGUI/CEGUI.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

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

CEGuiOnDemandFont& CreateOnDemandFont(const char* name, float pointSize, const std::string& file)
{
    return static_cast<CEGuiOnDemandFont&>(
        CEGuiOnDemandFont::Create(name, pointSize, file, kFileGroup, CEGUI::ASM_Vertical, kNativeResolution));
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
    void SetUp() override
    {
        SceneGui::Instance();
        m_file = ChineseFontFile();
        ASSERT_FALSE(m_file.empty()) << "no Chinese font installed; scripts/setup.sh installs one";
    }

    void TearDown() override
    {
        CEGUI::FontManager::getSingleton().destroyAll();
    }

    CEGuiOnDemandFont& OnDemand(const char* name, float pointSize) { return CreateOnDemandFont(name, pointSize, m_file); }

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
        CEGUI::OpenGLRenderer& renderer = SceneGui::Instance().Renderer();
        CEGUI::GeometryBuffer& buffer = renderer.createGeometryBuffer();
        const CEGUI::Rectf clip(0, 0, static_cast<float>(window.Width()), static_cast<float>(window.Height()));
        buffer.setClippingRegion(clip);
        float y = 4;
        for (const CEGUI::String& line : lines) {
            font.drawText(buffer, line, CEGUI::Vector2f(6.5f, y), &clip, CEGUI::ColourRect(CEGUI::Colour(1, 1, 1)));
            y += font.getLineSpacing();
        }
        renderer.beginRendering();
        renderer.getDefaultRenderTarget().activate();
        buffer.draw();
        renderer.getDefaultRenderTarget().deactivate();
        renderer.endRendering();
        renderer.destroyGeometryBuffer(buffer);
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

    std::string m_file;
};

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

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SameBytes(const CEGUI::RawDataContainer& data, const std::vector<char>& bytes)
{
    return data.getSize() == bytes.size() && std::memcmp(data.getDataPtr(), bytes.data(), bytes.size()) == 0;
}

class GuiResourceProvider : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SceneGui::Instance();
        m_file = ChineseFontFile();
        ASSERT_FALSE(m_file.empty()) << "no Chinese font installed; scripts/setup.sh installs one";
    }

    void TearDown() override
    {
        CEGUI::FontManager::getSingleton().destroyAll();
        if (!m_brokenFont.empty())
            std::remove(m_brokenFont.c_str());
    }

    // A file named like a font that holds no font.
    const std::string& BrokenFontFile()
    {
        m_brokenFont = testing::TempDir() + "qx-broken-font.ttf";
        std::ofstream(m_brokenFont, std::ios::binary) << std::string(4096, 'x');
        return m_brokenFont;
    }

    static CEGuiResourceProvider& Resources() { return SceneGui::Instance().Resources(); }

    std::string m_file;
    std::string m_brokenFont;
};

TEST_F(GuiResourceProvider, MapsAFontFileWithTheFilesBytesUntilItIsUnloaded)
{
    CEGUI::RawDataContainer data;
    Resources().loadRawDataContainer(m_file, data, kFileGroup);
    EXPECT_EQ(Resources().MappedFileCount(), 1u);
    EXPECT_TRUE(SameBytes(data, FileBytes(m_file)));

    Resources().unloadRawDataContainer(data);
    EXPECT_EQ(Resources().MappedFileCount(), 0u);
    EXPECT_EQ(data.getDataPtr(), nullptr);
    EXPECT_EQ(data.getSize(), 0u);
}

TEST_F(GuiResourceProvider, FontsKeepTheirMappingsUntilTheyAreDestroyed)
{
    CreateOnDemandFont("normal", 7, m_file);
    CreateOnDemandFont("large", 10, m_file);
    EXPECT_EQ(Resources().MappedFileCount(), 2u);

    CEGUI::FontManager::getSingleton().destroyAll();
    EXPECT_EQ(Resources().MappedFileCount(), 0u);
}

TEST_F(GuiResourceProvider, CopiesOtherFiles)
{
    const std::string scheme = std::string(std::getenv("QX_BUILD_DIR")) + "/datafiles/schemes/Quobrix.scheme";
    CEGUI::RawDataContainer data;
    Resources().loadRawDataContainer(scheme, data, kFileGroup);
    EXPECT_EQ(Resources().MappedFileCount(), 0u);
    EXPECT_TRUE(SameBytes(data, FileBytes(scheme)));
    Resources().unloadRawDataContainer(data);
    EXPECT_EQ(data.getDataPtr(), nullptr);
}

TEST_F(GuiResourceProvider, AFontFileCEGUICannotUseFailsAsBeforeWithoutBeingMapped)
{
    const std::string& broken = BrokenFontFile();
    // CEGUI frees the bytes of a font it could not create itself.
    EXPECT_THROW(CreateOnDemandFont("broken", 10, broken), CEGUI::Exception);
    EXPECT_THROW(CEGUI::FontManager::getSingleton().createFreeTypeFont("broken", 10, true, broken, kFileGroup),
                 CEGUI::Exception);
    EXPECT_EQ(Resources().MappedFileCount(), 0u);
}

} // namespace
