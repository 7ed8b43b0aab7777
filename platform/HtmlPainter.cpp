#include "platform/HtmlPainter.h"

#include <algorithm>

namespace {

// Fixed-point positions inside a scaled picture: 16 fractional bits.
constexpr int kFractionBits = 16;
constexpr int64_t kOne = int64_t(1) << kFractionBits;

uint32_t Channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t weightB)
{
    return (a * (256 - weightB) + b * weightB) >> 8;
}

uint32_t MixPixels(uint32_t a, uint32_t b, uint32_t weightB)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= Mix(Channel(a, shift), Channel(b, shift), weightB) << shift;
    return out;
}

}

HtmlPainter::HtmlPainter(PixelImage& target) : m_target(target)
{
    m_clips.push_back({0, 0, target.Width(), target.Height()});
}

HtmlPainter::Rect HtmlPainter::Intersect(const Rect& a, const Rect& b)
{
    Rect r;
    r.x = std::max(a.x, b.x);
    r.y = std::max(a.y, b.y);
    r.width = static_cast<int>(std::max<int64_t>(0, std::min(a.Right(), b.Right()) - r.x));
    r.height = static_cast<int>(std::max<int64_t>(0, std::min(a.Bottom(), b.Bottom()) - r.y));
    return r;
}

void HtmlPainter::PushClip(const Rect& rect)
{
    m_clips.push_back(Intersect(Clip(), rect));
}

void HtmlPainter::PopClip()
{
    if (m_clips.size() > 1)
        m_clips.pop_back();
}

void HtmlPainter::Blend(uint32_t& dst, uint32_t src) const
{
    const uint32_t alpha = src >> 24;
    if (alpha == 255)
        dst = src;
    else if (alpha > 0)
        dst = MixPixels(dst, src | 0xFF000000u, alpha + (alpha >> 7)) | 0xFF000000u;
}

void HtmlPainter::FillRect(const Rect& rect, uint32_t argb)
{
    const Rect r = Intersect(Clip(), rect);
    if (r.IsEmpty() || (argb >> 24) == 0)
        return;
    for (int y = r.y; y < r.Bottom(); ++y) {
        uint32_t* row = m_target.Pixels() + static_cast<size_t>(y) * m_target.Width();
        for (int x = r.x; x < r.Right(); ++x)
            Blend(row[x], argb);
    }
}

void HtmlPainter::FillEllipse(const Rect& rect, uint32_t argb)
{
    const Rect r = Intersect(Clip(), rect);
    if (r.IsEmpty() || rect.IsEmpty())
        return;
    const double cx = rect.x + rect.width / 2.0, cy = rect.y + rect.height / 2.0;
    const double rx = rect.width / 2.0, ry = rect.height / 2.0;
    for (int y = r.y; y < r.Bottom(); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        uint32_t* row = m_target.Pixels() + static_cast<size_t>(y) * m_target.Width();
        for (int x = r.x; x < r.Right(); ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            if (dx * dx + dy * dy <= 1.0)
                Blend(row[x], argb);
        }
    }
}

uint32_t HtmlPainter::Sample(const PixelImage& picture, int64_t fx, int64_t fy) const
{
    const int maxX = picture.Width() - 1, maxY = picture.Height() - 1;
    fx = std::clamp<int64_t>(fx, 0, int64_t(maxX) << kFractionBits);
    fy = std::clamp<int64_t>(fy, 0, int64_t(maxY) << kFractionBits);
    const int x0 = static_cast<int>(fx >> kFractionBits), y0 = static_cast<int>(fy >> kFractionBits);
    const int x1 = std::min(x0 + 1, maxX), y1 = std::min(y0 + 1, maxY);
    const auto wx = static_cast<uint32_t>((fx & (kOne - 1)) >> (kFractionBits - 8));
    const auto wy = static_cast<uint32_t>((fy & (kOne - 1)) >> (kFractionBits - 8));
    const uint32_t top = MixPixels(picture.Pixel(x0, y0), picture.Pixel(x1, y0), wx);
    const uint32_t bottom = MixPixels(picture.Pixel(x0, y1), picture.Pixel(x1, y1), wx);
    return MixPixels(top, bottom, wy);
}

void HtmlPainter::DrawPicture(const PixelImage& picture, const Rect& rect)
{
    const Rect r = Intersect(Clip(), rect);
    if (r.IsEmpty() || picture.IsEmpty())
        return;
    // Destination pixel centres mapped back into the picture.
    const int64_t stepX = (int64_t(picture.Width()) << kFractionBits) / rect.width;
    const int64_t stepY = (int64_t(picture.Height()) << kFractionBits) / rect.height;
    const bool unscaled = rect.width == picture.Width() && rect.height == picture.Height();
    for (int y = r.y; y < r.Bottom(); ++y) {
        const int64_t fy = ((int64_t(y) - rect.y) * stepY) + stepY / 2 - kOne / 2;
        uint32_t* row = m_target.Pixels() + static_cast<size_t>(y) * m_target.Width();
        for (int x = r.x; x < r.Right(); ++x) {
            const uint32_t src = unscaled ? picture.Pixel(x - rect.x, y - rect.y)
                                          : Sample(picture, (int64_t(x) - rect.x) * stepX + stepX / 2 - kOne / 2, fy);
            Blend(row[x], src);
        }
    }
}
