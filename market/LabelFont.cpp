#include "market/LabelFont.h"

#include "market/PictureCanvas.h"

#include <Poco/TextIterator.h>
#include <Poco/UTF8Encoding.h>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace market {

namespace {

const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
};

}

LabelFont& LabelFont::instance()
{
    static LabelFont font;
    return font;
}

LabelFont::LabelFont()
{
    if (FT_Init_FreeType(&library_) != 0)
        return;
    for (const char* file : kFontFiles)
        if (FT_New_Face(library_, file, 0, &face_) == 0)
            return;
    face_ = nullptr;
}

LabelFont::~LabelFont()
{
    if (face_)
        FT_Done_Face(face_);
    if (library_)
        FT_Done_FreeType(library_);
}

template <typename Glyph>
int LabelFont::forEachGlyph(const std::string& utf8, int pixelSize, Glyph glyph)
{
    if (!face_ || FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelSize)) != 0)
        return 0;
    Poco::UTF8Encoding encoding;
    Poco::TextIterator it(utf8, encoding), end(utf8);
    int pen = 0;
    for (; it != end; ++it) {
        if (FT_Load_Char(face_, FT_ULong(*it < 0 ? '?' : *it), FT_LOAD_RENDER) != 0)
            continue;
        glyph(pen, face_->glyph);
        pen += int(face_->glyph->advance.x >> 6);
    }
    return pen;
}

int LabelFont::measure(const std::string& utf8, int pixelSize)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return forEachGlyph(utf8, pixelSize, [](int, FT_GlyphSlot) {});
}

void LabelFont::draw(PictureCanvas& canvas, const std::string& utf8, int x, int baseline, int pixelSize,
                     uint32_t rgb)
{
    std::lock_guard<std::mutex> lock(mutex_);
    forEachGlyph(utf8, pixelSize, [&](int pen, FT_GlyphSlot slot) {
        const FT_Bitmap& bitmap = slot->bitmap;
        int left = x + pen + slot->bitmap_left, top = baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column)
                canvas.blendPixel(left + int(column), top + int(row), rgb,
                                  bitmap.buffer[row * unsigned(bitmap.pitch) + column]);
    });
}

}
