#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FIBITMAP;

namespace market {

// An RGB pixel buffer with the few drawing operations the picture
// illustrations need; saved as JPEG through FreeImage.
class PictureCanvas {
public:
    PictureCanvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    void verticalGradient(uint32_t top, uint32_t bottom);
    // Shapes take a colour and an opacity 0-255; coordinates are pixels.
    void fillRect(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha = 255);
    void fillRoundedRect(double x0, double y0, double x1, double y1, double radius, uint32_t rgb, int alpha = 255);
    void fillEllipse(double cx, double cy, double rx, double ry, uint32_t rgb, int alpha = 255);
    void blendPixel(int x, int y, uint32_t rgb, int alpha);

    std::string toJpeg(int quality) const;
    static std::string encodeJpeg(FIBITMAP* bitmap, int quality);   // empty on failure

    static uint32_t mix(uint32_t a, uint32_t b, double t);   // t = 0 gives a

private:
    template <typename Inside>
    void fillShape(double x0, double y0, double x1, double y1, uint32_t rgb, int alpha, Inside inside);

    int width_;
    int height_;
    std::vector<uint8_t> rgb_;
};

}
