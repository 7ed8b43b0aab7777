#include "market/PictureCanvas.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace market {

namespace {

int channel(uint32_t rgb, int shift)
{
    return int((rgb >> shift) & 0xff);
}

}

PictureCanvas::PictureCanvas(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), rgb_(size_t(width_) * size_t(height_) * 3, 255)
{
}

uint32_t PictureCanvas::mix(uint32_t a, uint32_t b, double t)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        double value = channel(a, shift) * (1 - t) + channel(b, shift) * t;
        result |= uint32_t(std::clamp(int(std::lround(value)), 0, 255)) << shift;
    }
    return result;
}

void PictureCanvas::verticalGradient(uint32_t top, uint32_t bottom)
{
    for (int y = 0; y < height_; ++y) {
        uint32_t colour = mix(top, bottom, double(y) / double(height_));
        for (int x = 0; x < width_; ++x)
            blendPixel(x, y, colour, 255);
    }
}

void PictureCanvas::blendPixel(int x, int y, uint32_t rgb, int alpha)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0)
        return;
    uint8_t* pixel = &rgb_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
    for (int i = 0; i < 3; ++i) {
        int source = channel(rgb, 16 - 8 * i);
        pixel[i] = uint8_t((source * alpha + pixel[i] * (255 - alpha)) / 255);
    }
}

template <typename Inside>
void PictureCanvas::fillShape(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha, Inside inside)
{
    int left = std::max(0, int(std::floor(x0))), right = std::min(width_ - 1, int(std::ceil(x1)));
    int top = std::max(0, int(std::floor(y0))), bottom = std::min(height_ - 1, int(std::ceil(y1)));
    // Four samples a pixel smooth the edges.
    static const double offsets[4][2] = {{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}};
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            int covered = 0;
            for (const auto& offset : offsets)
                covered += inside(x + offset[0], y + offset[1]) ? 1 : 0;
            blendPixel(x, y, rgb, alpha * covered / 4);
        }
}

void PictureCanvas::fillRect(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha)
{
    fillShape(x0, y0, x1, y1, rgb, alpha,
              [&](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void PictureCanvas::fillRoundedRect(double x0, double y0, double x1, double y1, double radius, uint32_t rgb,
                                    int alpha)
{
    radius = std::min(radius, std::min(x1 - x0, y1 - y0) / 2);
    fillShape(x0, y0, x1, y1, rgb, alpha, [&](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        double cx = std::clamp(x, x0 + radius, x1 - radius), cy = std::clamp(y, y0 + radius, y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void PictureCanvas::fillEllipse(double cx, double cy, double rx, double ry, uint32_t rgb, int alpha)
{
    fillShape(cx - rx, cy - ry, cx + rx, cy + ry, rgb, alpha, [&](double x, double y) {
        double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1;
    });
}

std::string PictureCanvas::toJpeg(int quality) const
{
    std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> bitmap(FreeImage_Allocate(width_, height_, 24),
                                                                  &FreeImage_Unload);
    if (!bitmap)
        throw std::runtime_error("cannot allocate a picture");
    for (int y = 0; y < height_; ++y) {
        // FreeImage keeps the bottom row first, in BGR order.
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), height_ - 1 - y);
        const uint8_t* source = &rgb_[size_t(y) * size_t(width_) * 3];
        for (int x = 0; x < width_; ++x) {
            line[x * 3 + FI_RGBA_RED] = source[x * 3];
            line[x * 3 + FI_RGBA_GREEN] = source[x * 3 + 1];
            line[x * 3 + FI_RGBA_BLUE] = source[x * 3 + 2];
        }
    }
    std::string jpeg = encodeJpeg(bitmap.get(), quality);
    if (jpeg.empty())
        throw std::runtime_error("cannot encode a picture");
    return jpeg;
}

std::string PictureCanvas::encodeJpeg(FIBITMAP* bitmap, int quality)
{
    std::unique_ptr<FIMEMORY, decltype(&FreeImage_CloseMemory)> memory(FreeImage_OpenMemory(),
                                                                       &FreeImage_CloseMemory);
    if (!memory || !FreeImage_SaveToMemory(FIF_JPEG, bitmap, memory.get(), quality))
        return std::string();
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory.get(), &data, &size);
    return std::string(reinterpret_cast<const char*>(data), size);
}

}
