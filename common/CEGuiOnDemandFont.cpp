#include "common/CEGuiOnDemandFont.h"

#include <CEGUI/BasicImage.h>
#include <CEGUI/FontManager.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/Renderer.h>
#include <CEGUI/System.h>
#include <CEGUI/Texture.h>

#include <algorithm>
#include <vector>

namespace {

// Transparent pixels around each glyph, as CEGUI leaves them, so that
// filtering never reaches a neighbour.
const unsigned kGlyphPadding = 2;
// One atlas holds some four hundred glyphs of the large font.
const unsigned kAtlasSize = 512;
const double kFreeTypeUnit = 1.0 / 64.0;

// FontManager registers only the fonts it creates; its createFreeTypeFont
// ends in this protected step, which a member pointer taken here reaches.
struct FontRegistry : CEGUI::FontManager
{
    static CEGUI::Font& Add(CEGUI::Font* font)
    {
        auto add = &FontRegistry::doExistingObjectAction;
        return (CEGUI::FontManager::getSingleton().*add)(font->getName(), font, CEGUI::XREA_RETURN);
    }
};

} // namespace

CEGUI::Font& CEGuiOnDemandFont::Create(const CEGUI::String& name, float pointSize, const CEGUI::String& fileName,
                                       const CEGUI::String& resourceGroup, CEGUI::AutoScaledMode autoScaled,
                                       const CEGUI::Sizef& nativeResolution)
{
    return FontRegistry::Add(
        CEGUI_NEW_AO CEGuiOnDemandFont(name, pointSize, fileName, resourceGroup, autoScaled, nativeResolution));
}

CEGuiOnDemandFont::CEGuiOnDemandFont(const CEGUI::String& name, float pointSize, const CEGUI::String& fileName,
                                     const CEGUI::String& resourceGroup, CEGUI::AutoScaledMode autoScaled,
                                     const CEGUI::Sizef& nativeResolution)
    : FreeTypeFont(name, pointSize, true, fileName, resourceGroup, autoScaled, nativeResolution)
{
}

const CEGUI::FontGlyph* CEGuiOnDemandFont::findFontGlyph(const CEGUI::utf32 codepoint) const
{
    const CEGUI::FontGlyph* glyph = FreeTypeFont::findFontGlyph(codepoint);
    if (glyph && !glyph->getImage())
        RasteriseGlyph(codepoint, d_cp_map.find(codepoint)->second);
    return glyph;
}

void CEGuiOnDemandFont::rasterise(CEGUI::utf32, CEGUI::utf32) const
{
    // Every glyph is rasterised when it is first found, none by the block.
}

void CEGuiOnDemandFont::updateFont()
{
    // The base class destroys every glyph texture before it loads the face again.
    FreeTypeFont::updateFont();
    m_atlas = nullptr;
}

void CEGuiOnDemandFont::RasteriseGlyph(CEGUI::utf32 codepoint, CEGUI::FontGlyph& glyph) const
{
    const FT_Int32 flags =
        FT_LOAD_RENDER | FT_LOAD_FORCE_AUTOHINT | (d_antiAliased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Char(d_fontFace, codepoint, flags) != 0) {
        // An empty image, so the glyph is not tried again at every use.
        SetGlyphImage(codepoint, glyph, CEGUI::Rectf(0, 0, 0, 0), CEGUI::Vector2f(0, 0));
        return;
    }
    const FT_GlyphSlot slot = d_fontFace->glyph;
    const CEGUI::Vector2f offset(static_cast<float>(slot->metrics.horiBearingX * kFreeTypeUnit),
                                 static_cast<float>(-slot->metrics.horiBearingY * kFreeTypeUnit));
    const FT_Bitmap& bitmap = slot->bitmap;
    const bool drawable = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    const CEGUI::Rectf area = drawable ? PlaceInAtlas(bitmap.width, bitmap.rows) : CEGUI::Rectf(0, 0, 0, 0);
    if (area.getWidth() > 0 && area.getHeight() > 0) {
        std::vector<CEGUI::argb_t> pixels(static_cast<size_t>(bitmap.width) * bitmap.rows);
        drawGlyphToBuffer(pixels.data(), bitmap.width);
        m_atlas->blitFromMemory(pixels.data(), area);
    }
    SetGlyphImage(codepoint, glyph, area, offset);
}

CEGUI::Rectf CEGuiOnDemandFont::PlaceInAtlas(unsigned width, unsigned height) const
{
    if (m_atlas && m_x + width + kGlyphPadding > m_atlasSize) {
        m_x = kGlyphPadding;
        m_y = m_rowBottom;
    }
    if (!m_atlas || m_y + height + kGlyphPadding > m_atlasSize) {
        if (!StartAtlas(width, height))
            return CEGUI::Rectf(0, 0, 0, 0);
    }
    const CEGUI::Rectf area(static_cast<float>(m_x), static_cast<float>(m_y), static_cast<float>(m_x + width),
                            static_cast<float>(m_y + height));
    m_x += width + kGlyphPadding;
    m_rowBottom = std::max(m_rowBottom, m_y + height + kGlyphPadding);
    return area;
}

bool CEGuiOnDemandFont::StartAtlas(unsigned width, unsigned height) const
{
    CEGUI::Renderer& renderer = *CEGUI::System::getSingleton().getRenderer();
    unsigned size = kAtlasSize;
    while (size < std::max(width, height) + 2 * kGlyphPadding)
        size *= 2;
    if (size > renderer.getMaxTextureSize())
        return false;
    const CEGUI::String name =
        d_name + "_glyph_atlas_" + CEGUI::PropertyHelper<unsigned>::toString(d_glyphTextures.size());
    const CEGUI::Sizef extent(static_cast<float>(size), static_cast<float>(size));
    CEGUI::Texture& texture = renderer.createTexture(name, extent);
    d_glyphTextures.push_back(&texture);
    // Cleared once, so the padding between glyphs is transparent.
    const std::vector<CEGUI::argb_t> clear(static_cast<size_t>(size) * size, 0);
    texture.loadFromMemory(clear.data(), extent, CEGUI::Texture::PF_RGBA);
    m_atlas = &texture;
    m_atlasSize = size;
    m_x = m_y = m_rowBottom = kGlyphPadding;
    return true;
}

void CEGuiOnDemandFont::SetGlyphImage(CEGUI::utf32 codepoint, CEGUI::FontGlyph& glyph, const CEGUI::Rectf& area,
                                      const CEGUI::Vector2f& offset) const
{
    auto* image = CEGUI_NEW_AO CEGUI::BasicImage(CEGUI::PropertyHelper<unsigned long>::toString(codepoint), m_atlas,
                                                 area, offset, CEGUI::ASM_Disabled, d_nativeResolution);
    d_glyphImages.push_back(image);
    glyph.setImage(image);
}
