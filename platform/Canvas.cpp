#include "platform/Canvas.h"

#include <algorithm>

namespace {

constexpr uint32_t kOpaque = 0xFF000000;

}

Canvas::Canvas(int width, int height)
    : m_image(std::max(0, width), std::max(0, height), kOpaque)
{
}

int Canvas::MeasureText(const std::string& utf8) const
{
    return m_font ? m_font->MeasureText(utf8) : 0;
}

int Canvas::TextHeight() const
{
    return m_font ? m_font->Height() : 0;
}

void Canvas::DrawText(int x, int y, const std::string& utf8)
{
    if (m_font)
        m_font->DrawText(m_image, x, y, utf8, m_textColor);
}

void Canvas::FillRect(int x, int y, int width, int height, uint32_t rgb)
{
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(Width(), x + width);
    const int bottom = std::min(Height(), y + height);
    for (int row = top; row < bottom; ++row)
        std::fill_n(m_image.Pixels() + static_cast<size_t>(row) * Width() + left, std::max(0, right - left),
                    kOpaque | rgb);
}

void Canvas::Blit(const PixelImage& picture, int x, int y)
{
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(Width(), x + picture.Width());
    const int bottom = std::min(Height(), y + picture.Height());
    for (int row = top; row < bottom; ++row) {
        const uint32_t* source = picture.Pixels() + static_cast<size_t>(row - y) * picture.Width() + (left - x);
        uint32_t* target = m_image.Pixels() + static_cast<size_t>(row) * Width() + left;
        for (int column = left; column < right; ++column)
            *target++ = kOpaque | *source++;
    }
}

void Canvas::StretchBlit(const PixelImage& picture, int x, int y, int width, int height)
{
    Blit(picture.Scaled(width, height), x, y);
}
