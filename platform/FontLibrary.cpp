#include "platform/FontLibrary.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

// The Windows face names the program asks for, mapped to the faces installed
// here; without these fontconfig gives DejaVu Sans, which has no Chinese.
const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>黑体</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>SimHei</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>宋体</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>SimSun</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>新宋体</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>微软雅黑</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>Microsoft YaHei</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>Tahoma</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>Verdana</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>Arial</family><prefer><family>DejaVu Sans</family></prefer></alias>
</fontconfig>
)";

// The face every missing glyph is looked up in.
const char kCjkFamily[] = "黑体";
const char kCjkLanguage[] = "zh-cn";

}

FontLibrary& FontLibrary::Instance()
{
    // Lives to the end of the process: fonts handed out may be used by other
    // process-wide objects until the very end.
    static FontLibrary* library = new FontLibrary;
    return *library;
}

FontLibrary::FontLibrary()
{
    m_config = FcInitLoadConfigAndFonts();
    if (m_config)
        FcConfigParseAndLoadFromMemory(m_config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue);
    FT_Library freetype = nullptr;
    if (FT_Init_FreeType(&freetype) == 0)
        m_freetype = freetype;
}

FontFaceSource FontLibrary::Resolve(const std::string& family, int weight) const
{
    return ResolvePattern(family, weight, nullptr);
}

FontFaceSource FontLibrary::ResolvePattern(const std::string& family, int weight, const char* language) const
{
    FontFaceSource source;
    if (!m_config)
        return source;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    if (language)
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
    FcConfigSubstitute(m_config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(m_config, pattern, &result);
    if (match) {
        FcChar8* file = nullptr;
        int index = 0;
        FcBool embolden = FcFalse;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            source.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
            source.index = index;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
            source.embolden = embolden == FcTrue;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return source;
}

std::shared_ptr<Font> FontLibrary::GetFont(const std::string& family, int height, int weight, FontSizeKind kind)
{
    const Key key{family, height, weight, kind};
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        auto found = m_fonts.find(key);
        if (found != m_fonts.end())
            return found->second;
    }
    if (!m_freetype)
        return nullptr;
    const FontFaceSource face = Resolve(family, weight);
    const FontFaceSource fallback = ResolvePattern(kCjkFamily, weight, kCjkLanguage);
    auto font = std::make_shared<Font>(m_freetype, m_mutex, face, fallback, height, kind);
    if (!font->IsValid())
        return nullptr;
    std::shared_ptr<Font> kept;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        // Another thread may have made the same font meanwhile: keep the first
        // (ours is then released outside the lock, which its faces need).
        kept = m_fonts.emplace(key, font).first->second;
    }
    return kept;
}
