#include "scene/CCardFontSet.h"

#include "platform/FontLibrary.h"

namespace {

struct FontSpec
{
    const char* face;
    int height;
    int weight;
};

const FontSpec kFonts[CCardFontSet::kFontCount] = {
    {"黑体", 30, 700}, {"黑体", 36, 700}, {"黑体", 50, 700}, {"Tahoma", 50, 900}, {"Tahoma", 60, 900},
};

}

CCardFontSet& CCardFontSet::getInstance()
{
    static CCardFontSet instance;
    return instance;
}

CCardFontSet::CCardFontSet()
{
    for (int i = 0; i < kFontCount; ++i)
        m_fonts[i] = FontLibrary::Instance().GetFont(kFonts[i].face, kFonts[i].height, kFonts[i].weight);
}
