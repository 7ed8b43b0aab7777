#pragma once
#include "platform/Font.h"
#include "platform/PixelImage.h"

#include <cstdint>
#include <memory>
#include <string>

// A drawing surface in memory, standing in for a GDI memory device context
// with a bitmap selected: opaque pixels that start black, one selected font
// and text colour, text drawn GDI-style with the top of its cell at the given
// point, solid fills and (stretched) copies of pictures. Colours are 0xRRGGBB;
// ColorFromColorref converts GDI's 0x00BBGGRR values. Text is UTF-8.
class Canvas
{
public:
    Canvas(int width, int height);

    static constexpr uint32_t ColorFromColorref(uint32_t colorref)
    {
        return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
    }

    int Width() const { return m_image.Width(); }
    int Height() const { return m_image.Height(); }

    void SelectFont(std::shared_ptr<Font> font) { m_font = std::move(font); }
    const Font* SelectedFont() const { return m_font.get(); }
    void SetTextColor(uint32_t rgb) { m_textColor = rgb; }

    // Width of the text in the selected font; 0 without a font.
    int MeasureText(const std::string& utf8) const;
    // The selected font's cell height; 0 without a font.
    int TextHeight() const;
    void DrawText(int x, int y, const std::string& utf8);

    void FillRect(int x, int y, int width, int height, uint32_t rgb);
    // Copies the picture's pixels with its top-left corner at (x, y), clipped.
    void Blit(const PixelImage& picture, int x, int y);
    // The same, resampled to width x height.
    void StretchBlit(const PixelImage& picture, int x, int y, int width, int height);

    const PixelImage& Image() const { return m_image; }

private:
    PixelImage m_image;
    std::shared_ptr<Font> m_font;
    uint32_t m_textColor = 0xFFFFFF;
};
