#pragma once
#include <cstdint>
#include <string>

// What a picture file says of itself before a single pixel is decoded: its
// format and its size. A file of a few bytes can announce a picture that
// takes gigabytes once decoded, so pictures from the network are judged by
// their header first.
class PictureHeader
{
public:
    enum class Format
    {
        Unknown,  // not a picture FreeImage reads
        Jpeg,
        Png,
        Gif,
        Other,    // a picture of another format FreeImage reads
    };

    Format format = Format::Unknown;
    // 0 when the header does not say.
    uint32_t width = 0;
    uint32_t height = 0;

    static PictureHeader Read(const std::string& bytes);

    // A JPEG, PNG or GIF of a known size of at most maxPixels: what a card,
    // shop or recommendation picture can be.
    bool IsCardPicture(uint64_t maxPixels) const;
    uint64_t Pixels() const { return static_cast<uint64_t>(width) * height; }
    // "GIF 20x4000000", for the log.
    std::string Describe() const;
};
