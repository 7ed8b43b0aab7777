#pragma once

#include <cstdint>
#include <mutex>
#include <string>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace market {

class PictureCanvas;

// The CJK font the picture labels are drawn with (WenQuanYi Zen Hei, or
// the first of a few fallbacks). FreeType faces are not thread-safe, so
// every use takes the font's lock.
class LabelFont {
public:
    static LabelFont& instance();
    ~LabelFont();

    bool available() const { return face_ != nullptr; }
    int measure(const std::string& utf8, int pixelSize);
    void draw(PictureCanvas& canvas, const std::string& utf8, int x, int baseline, int pixelSize, uint32_t rgb);

private:
    LabelFont();
    template <typename Glyph>
    int forEachGlyph(const std::string& utf8, int pixelSize, Glyph glyph);

    std::mutex mutex_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

}
