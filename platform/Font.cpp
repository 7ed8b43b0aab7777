#include "platform/Font.h"

#include "platform/PixelImage.h"

#include <Poco/TextIterator.h>
#include <Poco/UTF8Encoding.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace {

// The vertical extent GDI gives a face: the OS/2 table's Windows ascent and
// descent, or the face's own when it has none.
void WindowsExtent(FT_Face face, double& ascent, double& descent)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
}

// GDI's external leading: the line gap the typographic metrics ask for beyond
// the Windows extent, in font units.
double ExternalLeadingUnits(FT_Face face, double winExtent)
{
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (!hhea)
        return 0;
    const double typographic = hhea->Ascender - hhea->Descender;
    return std::max(0.0, hhea->Line_Gap - (winExtent - typographic));
}

uint8_t Mix(uint32_t under, uint32_t over, unsigned coverage, int shift)
{
    const unsigned a = (under >> shift) & 0xFF;
    const unsigned b = (over >> shift) & 0xFF;
    return static_cast<uint8_t>((a * (255 - coverage) + b * coverage + 127) / 255);
}

}

Font::Font(FT_LibraryRec_* library, std::mutex& libraryLock, const FontFaceSource& face,
           const FontFaceSource& fallback, int height, FontSizeKind kind)
    : m_library(library), m_libraryLock(libraryLock), m_embolden(face.embolden),
      m_fallbackEmbolden(fallback.embolden)
{
    m_face = OpenFace(face);
    if (!m_face)
        return;
    if (fallback.IsValid() && !fallback.SameFace(face))
        m_fallback = OpenFace(fallback);
    ComputeMetrics(height, kind);
}

Font::~Font()
{
    std::lock_guard<std::mutex> guard(m_libraryLock);
    if (m_face)
        FT_Done_Face(m_face);
    if (m_fallback)
        FT_Done_Face(m_fallback);
}

FT_FaceRec_* Font::OpenFace(const FontFaceSource& source) const
{
    if (!source.IsValid())
        return nullptr;
    std::lock_guard<std::mutex> guard(m_libraryLock);
    FT_Face face = nullptr;
    if (FT_New_Face(m_library, source.file.c_str(), source.index, &face) != 0)
        return nullptr;
    return face;
}

void Font::ComputeMetrics(int height, FontSizeKind kind)
{
    double ascent = 0, descent = 0;
    WindowsExtent(m_face, ascent, descent);
    const double extent = std::max(1.0, ascent + descent);
    const double unitsPerEm = std::max<double>(1, m_face->units_per_EM);
    // Pixels per font unit.
    const double scale = kind == FontSizeKind::CellHeight ? height / extent : height / unitsPerEm;
    const FT_F26Dot6 ppem = std::lround(scale * unitsPerEm * 64);
    FT_Set_Char_Size(m_face, 0, ppem, 72, 72);
    if (m_fallback)
        FT_Set_Char_Size(m_fallback, 0, ppem, 72, 72);
    m_height = kind == FontSizeKind::CellHeight ? height : static_cast<int>(std::lround(extent * scale));
    m_ascent = static_cast<int>(std::lround(ascent * scale));
    m_externalLeading = static_cast<int>(std::lround(ExternalLeadingUnits(m_face, extent) * scale));
}

Font::Glyph Font::RenderGlyph(char32_t code) const
{
    Glyph glyph;
    if (code < 0x20 || code == 0x7F)
        return glyph;
    FT_Face face = m_face;
    bool embolden = m_embolden;
    FT_UInt index = FT_Get_Char_Index(m_face, code);
    if (index == 0 && m_fallback) {
        const FT_UInt fallbackIndex = FT_Get_Char_Index(m_fallback, code);
        if (fallbackIndex != 0) {
            face = m_fallback;
            embolden = m_fallbackEmbolden;
            index = fallbackIndex;
        }
    }
    // Outlines only: some CJK faces carry bitmap strikes that would look
    // different from their neighbours at other sizes.
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
        return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (embolden)
        FT_GlyphSlot_Embolden(slot);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
        std::copy(row, row + glyph.width, glyph.coverage.begin() + static_cast<long>(y) * glyph.width);
    }
    return glyph;
}

const Font::Glyph& Font::GlyphOf(char32_t code) const
{
    auto found = m_glyphs.find(code);
    if (found != m_glyphs.end())
        return found->second;
    return m_glyphs.emplace(code, RenderGlyph(code)).first->second;
}

int Font::MeasureText(const std::string& utf8) const
{
    if (!m_face)
        return 0;
    std::lock_guard<std::mutex> guard(m_mutex);
    Poco::UTF8Encoding encoding;
    int width = 0;
    for (Poco::TextIterator it(utf8, encoding), end(utf8); it != end; ++it)
        width += GlyphOf(static_cast<char32_t>(*it)).advance;
    return width;
}

void Font::DrawText(PixelImage& target, int x, int top, const std::string& utf8, uint32_t rgb) const
{
    DrawText(target, x, top, utf8, rgb, TextClip{0, 0, target.Width(), target.Height()});
}

void Font::DrawText(PixelImage& target, int x, int top, const std::string& utf8, uint32_t rgb,
                    const TextClip& clip) const
{
    if (!m_face)
        return;
    TextClip inside{std::max(0, clip.left), std::max(0, clip.top), std::min(target.Width(), clip.right),
                    std::min(target.Height(), clip.bottom)};
    std::lock_guard<std::mutex> guard(m_mutex);
    Poco::UTF8Encoding encoding;
    const int baseline = top + m_ascent;
    int pen = x;
    for (Poco::TextIterator it(utf8, encoding), end(utf8); it != end; ++it) {
        const Glyph& glyph = GlyphOf(static_cast<char32_t>(*it));
        BlendGlyph(target, glyph, pen, baseline, rgb, inside);
        pen += glyph.advance;
    }
}

void Font::BlendGlyph(PixelImage& target, const Glyph& glyph, int penX, int baseline, uint32_t rgb,
                      const TextClip& clip)
{
    const int x0 = penX + glyph.left;
    const int y0 = baseline - glyph.top;
    const int firstRow = std::max(0, clip.top - y0);
    const int lastRow = std::min(glyph.rows, clip.bottom - y0);
    const int firstColumn = std::max(0, clip.left - x0);
    const int lastColumn = std::min(glyph.width, clip.right - x0);
    for (int gy = firstRow; gy < lastRow; ++gy) {
        uint32_t* row = target.Pixels() + static_cast<size_t>(y0 + gy) * target.Width() + x0;
        const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
        for (int gx = firstColumn; gx < lastColumn; ++gx) {
            const unsigned c = coverage[gx];
            if (c == 0)
                continue;
            const uint32_t under = row[gx];
            const unsigned alpha = (under >> 24) + (((255 - (under >> 24)) * c + 127) / 255);
            row[gx] = (alpha << 24) | (uint32_t(Mix(under, rgb, c, 16)) << 16) | (uint32_t(Mix(under, rgb, c, 8)) << 8) |
                      Mix(under, rgb, c, 0);
        }
    }
}
