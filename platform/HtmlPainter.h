#pragma once
#include "platform/PixelImage.h"

#include <cstdint>
#include <vector>

// Draws a page's boxes into a picture of the visible part of the page:
// translucent fills, borders, and pictures scaled into their boxes, all kept
// inside the current clip rectangle. Only the pixels that end up visible are
// touched, however large the box.
class HtmlPainter
{
public:
    struct Rect
    {
        int x = 0, y = 0, width = 0, height = 0;
        // Wide enough for the positions of a page that is hostile to its layout.
        int64_t Right() const { return int64_t(x) + width; }
        int64_t Bottom() const { return int64_t(y) + height; }
        bool IsEmpty() const { return width <= 0 || height <= 0; }
    };

    explicit HtmlPainter(PixelImage& target);

    PixelImage& Target() { return m_target; }
    Rect Clip() const { return m_clips.back(); }
    // Narrows the clip to its intersection with the rectangle until PopClip.
    void PushClip(const Rect& rect);
    void PopClip();

    // argb with alpha below 255 is blended over what is there.
    void FillRect(const Rect& rect, uint32_t argb);
    void FillEllipse(const Rect& rect, uint32_t argb);
    // The picture stretched over rect, smoothly when it is scaled.
    void DrawPicture(const PixelImage& picture, const Rect& rect);

    static Rect Intersect(const Rect& a, const Rect& b);

private:
    void Blend(uint32_t& dst, uint32_t src) const;
    uint32_t Sample(const PixelImage& picture, int64_t fx, int64_t fy) const;

    PixelImage& m_target;
    std::vector<Rect> m_clips;
};
