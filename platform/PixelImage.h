#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A picture in memory: 32-bit pixels, top row first, each pixel the bytes
// B, G, R, A (0xAARRGGBB read as a little-endian word, like a D3DCOLOR).
// Decoding and colour keying happen here, without any GL context, so pictures
// can be prepared on any thread and uploaded where the context lives.
class PixelImage
{
public:
    PixelImage() = default;
    PixelImage(int width, int height, uint32_t fill = 0);

    // Decodes a picture file (any format FreeImage reads). width/height > 0
    // rescale it to that size. Returns an empty image when the file cannot be read.
    static PixelImage LoadFile(const std::string& path, int width = 0, int height = 0);
    // The same from bytes in memory (a BMP, JPEG, PNG ... file image).
    static PixelImage LoadMemory(const void* data, size_t size, int width = 0, int height = 0);

    // Reads only a picture file's header: false when it cannot be read.
    static bool ReadSize(const std::string& path, int& width, int& height);

    // A resampled copy (bilinear); empty for an empty image or size.
    PixelImage Scaled(int width, int height) const;

    // Pixels exactly equal to key (alpha included) become transparent black.
    void ApplyColorKey(uint32_t key);
    // Also pixels whose every channel lies within tolerance of the key's:
    // a JPEG's black comes back with a little noise around drawn edges.
    void ApplyColorKey(uint32_t key, int tolerance);

    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t* Pixels() { return m_pixels.data(); }
    const uint32_t* Pixels() const { return m_pixels.data(); }
    uint32_t Pixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    void SetPixel(int x, int y, uint32_t argb) { m_pixels[static_cast<size_t>(y) * m_width + x] = argb; }

    // Writes a PNG (for screenshots and test output); false on failure.
    bool SavePng(const std::string& path) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};
