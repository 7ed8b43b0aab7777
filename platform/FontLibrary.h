#pragma once
#include "platform/Font.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

struct _FcConfig;
struct FT_LibraryRec_;

// Fonts by face name, the way the system asks for them ("黑体", "Tahoma",
// "SimSun", CSS families), resolved through fontconfig with the program's own
// aliases: the Windows face names map to the installed CJK and Latin faces.
// Glyphs a face lacks are drawn from a CJK face. Any thread may ask for fonts.
class FontLibrary
{
public:
    static FontLibrary& Instance();

    // The font of family at height pixels and weight (100-900, 400 normal,
    // 700 bold); the same request gives the same font. Null only when
    // fontconfig finds no face at all.
    std::shared_ptr<Font> GetFont(const std::string& family, int height, int weight,
                                  FontSizeKind kind = FontSizeKind::CellHeight);

    // The face fontconfig chooses for a request, after the program's aliases.
    FontFaceSource Resolve(const std::string& family, int weight) const;

    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

private:
    FontLibrary();

    FontFaceSource ResolvePattern(const std::string& family, int weight, const char* language) const;

    using Key = std::tuple<std::string, int, int, FontSizeKind>;

    _FcConfig* m_config = nullptr;
    FT_LibraryRec_* m_freetype = nullptr;
    // FreeType needs face creation and destruction on one library serialised.
    std::mutex m_mutex;
    std::map<Key, std::shared_ptr<Font>> m_fonts;
};
