#include "platform/PixelImage.h"

#include "platform/AppFolders.h"

#include <FreeImage.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct BitmapDeleter
{
    void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

struct MemoryDeleter
{
    void operator()(FIMEMORY* m) const { FreeImage_CloseMemory(m); }
};

FREE_IMAGE_FORMAT FileFormat(const std::string& path)
{
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(path.c_str());
    return format;
}

PixelImage FromBitmap(Bitmap bitmap, int width, int height)
{
    if (!bitmap)
        return PixelImage();
    Bitmap rgba(FreeImage_ConvertTo32Bits(bitmap.get()));
    if (!rgba)
        return PixelImage();
    if (width > 0 && height > 0 &&
        (static_cast<int>(FreeImage_GetWidth(rgba.get())) != width ||
         static_cast<int>(FreeImage_GetHeight(rgba.get())) != height)) {
        Bitmap scaled(FreeImage_Rescale(rgba.get(), width, height, FILTER_BILINEAR));
        if (!scaled)
            return PixelImage();
        rgba = std::move(scaled);
    }
    const int w = static_cast<int>(FreeImage_GetWidth(rgba.get()));
    const int h = static_cast<int>(FreeImage_GetHeight(rgba.get()));
    PixelImage image(w, h);
    // FreeImage keeps the bottom row first; flip while copying.
    for (int y = 0; y < h; ++y) {
        const BYTE* src = FreeImage_GetScanLine(rgba.get(), h - 1 - y);
        memcpy(image.Pixels() + static_cast<size_t>(y) * w, src, static_cast<size_t>(w) * 4);
    }
    return image;
}

Bitmap ToBitmap(const PixelImage& image)
{
    Bitmap bitmap(FreeImage_Allocate(image.Width(), image.Height(), 32));
    if (!bitmap)
        return bitmap;
    for (int y = 0; y < image.Height(); ++y)
        memcpy(FreeImage_GetScanLine(bitmap.get(), image.Height() - 1 - y),
               image.Pixels() + static_cast<size_t>(y) * image.Width(), static_cast<size_t>(image.Width()) * 4);
    return bitmap;
}

}

PixelImage::PixelImage(int width, int height, uint32_t fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill)
{
}

PixelImage PixelImage::LoadFile(const std::string& name, int width, int height)
{
    const std::string path = AppFolders::Resolve(name);
    const FREE_IMAGE_FORMAT format = FileFormat(path);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return PixelImage();
    return FromBitmap(Bitmap(FreeImage_Load(format, path.c_str(), 0)), width, height);
}

PixelImage PixelImage::LoadMemory(const void* data, size_t size, int width, int height)
{
    std::unique_ptr<FIMEMORY, MemoryDeleter> memory(
        FreeImage_OpenMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size)));
    if (!memory)
        return PixelImage();
    FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory.get(), 0);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return PixelImage();
    return FromBitmap(Bitmap(FreeImage_LoadFromMemory(format, memory.get(), 0)), width, height);
}

void PixelImage::ApplyColorKey(uint32_t key)
{
    // Every picture loaded passes here: the exact key stays a plain compare.
    for (auto& p : m_pixels)
        if (p == key)
            p = 0;
}

void PixelImage::ApplyColorKey(uint32_t key, int tolerance)
{
    const auto near = [tolerance](uint32_t a, uint32_t b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) <= tolerance;
    };
    for (auto& p : m_pixels)
        if (near(p, key, 24) && near(p, key, 16) && near(p, key, 8) && near(p, key, 0))
            p = 0;
}

PixelImage PixelImage::Scaled(int width, int height) const
{
    if (IsEmpty() || width <= 0 || height <= 0)
        return PixelImage();
    return FromBitmap(ToBitmap(*this), width, height);
}

bool PixelImage::ReadSize(const std::string& name, int& width, int& height)
{
    const std::string path = AppFolders::Resolve(name);
    const FREE_IMAGE_FORMAT format = FileFormat(path);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return false;
    // Formats that cannot skip their pixels are decoded whole.
    const int flags = FreeImage_FIFSupportsNoPixels(format) ? FIF_LOAD_NOPIXELS : 0;
    Bitmap header(FreeImage_Load(format, path.c_str(), flags));
    if (!header || FreeImage_GetWidth(header.get()) == 0 || FreeImage_GetHeight(header.get()) == 0)
        return false;
    width = static_cast<int>(FreeImage_GetWidth(header.get()));
    height = static_cast<int>(FreeImage_GetHeight(header.get()));
    return true;
}

bool PixelImage::SavePng(const std::string& path) const
{
    if (IsEmpty())
        return false;
    Bitmap bitmap = ToBitmap(*this);
    return bitmap && FreeImage_Save(FIF_PNG, bitmap.get(), path.c_str(), 0) != 0;
}
