#include "platform/PictureHeader.h"

#include <FreeImage.h>

#include <algorithm>
#include <memory>

namespace {

struct MemoryCloser
{
    void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};

struct BitmapUnloader
{
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

uint32_t LittleEndian16(const std::string& bytes, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

// FreeImage cannot read a GIF's header alone, and decodes the first frame at
// the frame's own size: the larger of the screen and that frame counts.
void ReadGifSize(const std::string& bytes, PictureHeader& header)
{
    if (bytes.size() < 13)
        return;
    uint32_t width = LittleEndian16(bytes, 6), height = LittleEndian16(bytes, 8);
    size_t at = 13;
    const unsigned char flags = static_cast<unsigned char>(bytes[10]);
    if (flags & 0x80)
        at += 3u << ((flags & 0x07) + 1);
    while (at < bytes.size()) {
        const unsigned char block = static_cast<unsigned char>(bytes[at]);
        if (block == 0x2C) {
            if (at + 9 > bytes.size())
                return;
            width = std::max(width, LittleEndian16(bytes, at + 5));
            height = std::max(height, LittleEndian16(bytes, at + 7));
            header.width = width;
            header.height = height;
            return;
        }
        if (block != 0x21 || at + 2 >= bytes.size())
            return;
        // An extension: its label, then sub-blocks up to an empty one.
        at += 2;
        while (at < bytes.size() && bytes[at] != 0)
            at += 1u + static_cast<unsigned char>(bytes[at]);
        ++at;
    }
}

PictureHeader::Format FormatOf(FREE_IMAGE_FORMAT format)
{
    switch (format) {
    case FIF_UNKNOWN: return PictureHeader::Format::Unknown;
    case FIF_JPEG: return PictureHeader::Format::Jpeg;
    case FIF_PNG: return PictureHeader::Format::Png;
    case FIF_GIF: return PictureHeader::Format::Gif;
    default: return PictureHeader::Format::Other;
    }
}

}

PictureHeader PictureHeader::Read(const std::string& bytes)
{
    PictureHeader header;
    std::unique_ptr<FIMEMORY, MemoryCloser> memory(
        FreeImage_OpenMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                             static_cast<DWORD>(bytes.size())));
    if (!memory)
        return header;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory.get(), 0);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return header;
    header.format = FormatOf(format);
    if (format == FIF_GIF) {
        ReadGifSize(bytes, header);
        return header;
    }
    // A format that cannot skip its pixels keeps its size unknown.
    if (!FreeImage_FIFSupportsNoPixels(format))
        return header;
    std::unique_ptr<FIBITMAP, BitmapUnloader> bitmap(
        FreeImage_LoadFromMemory(format, memory.get(), FIF_LOAD_NOPIXELS));
    if (bitmap) {
        header.width = FreeImage_GetWidth(bitmap.get());
        header.height = FreeImage_GetHeight(bitmap.get());
    }
    return header;
}

bool PictureHeader::IsCardPicture(uint64_t maxPixels) const
{
    const bool cardFormat = format == Format::Jpeg || format == Format::Png || format == Format::Gif;
    return cardFormat && width > 0 && height > 0 && Pixels() <= maxPixels;
}

std::string PictureHeader::Describe() const
{
    static const char* const kNames[] = {"not a picture", "JPEG", "PNG", "GIF", "another format"};
    return std::string(kNames[static_cast<int>(format)]) + " " + std::to_string(width) + "x" + std::to_string(height);
}
