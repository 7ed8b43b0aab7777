#pragma once
// CEGUI's FreeType font rasterises the whole block of 256 code points around
// the first glyph it is asked for. Chinese text touches dozens of blocks, so
// the first screen used to wait for some twelve thousand glyphs, most of which
// it never shows. This font rasterises a glyph when it is first asked for and
// packs it into atlas textures, with the same FreeType settings, offsets and
// advances as CEGUI's own.
#include <CEGUI/FreeTypeFont.h>

#include <cstddef>

class CEGuiOnDemandFont : public CEGUI::FreeTypeFont
{
public:
    // Creates an anti-aliased font and registers it under its name with the
    // FontManager, which owns it from then on (as createFreeTypeFont does).
    // Throws what CEGUI throws for a file it cannot use.
    static CEGUI::Font& Create(const CEGUI::String& name, float pointSize, const CEGUI::String& fileName,
                               const CEGUI::String& resourceGroup, CEGUI::AutoScaledMode autoScaled,
                               const CEGUI::Sizef& nativeResolution);

    size_t RasterisedGlyphCount() const { return d_glyphImages.size(); }
    size_t AtlasCount() const { return d_glyphTextures.size(); }

protected:
    const CEGUI::FontGlyph* findFontGlyph(const CEGUI::utf32 codepoint) const override;
    void rasterise(CEGUI::utf32 startCodepoint, CEGUI::utf32 endCodepoint) const override;
    void updateFont() override;

private:
    CEGuiOnDemandFont(const CEGUI::String& name, float pointSize, const CEGUI::String& fileName,
                      const CEGUI::String& resourceGroup, CEGUI::AutoScaledMode autoScaled,
                      const CEGUI::Sizef& nativeResolution);

    void RasteriseGlyph(CEGUI::utf32 codepoint, CEGUI::FontGlyph& glyph) const;
    // The atlas area a glyph of that size goes to, starting a new atlas when
    // the current one is full; an empty area when no texture can hold it.
    CEGUI::Rectf PlaceInAtlas(unsigned width, unsigned height) const;
    bool StartAtlas(unsigned width, unsigned height) const;
    void SetGlyphImage(CEGUI::utf32 codepoint, CEGUI::FontGlyph& glyph, const CEGUI::Rectf& area,
                       const CEGUI::Vector2f& offset) const;

    // The atlas being filled, row by row from the top left.
    mutable CEGUI::Texture* m_atlas = nullptr;
    mutable unsigned m_atlasSize = 0;
    mutable unsigned m_x = 0;
    mutable unsigned m_y = 0;
    mutable unsigned m_rowBottom = 0;
};
