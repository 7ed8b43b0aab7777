#include "platform/FontFileCheck.h"

#include <ft2build.h>
#include FT_FREETYPE_H

bool OpensAsUnicodeFont(const unsigned char* data, size_t size)
{
    // A library of its own: FreeType libraries must not be shared between
    // threads without a lock, and this check is rare and cheap.
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    const bool opens = FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), 0, &face) == 0;
    // FreeType selects a Unicode map by itself when the face has one.
    const bool usable = opens && face->charmap != nullptr && face->charmap->encoding == FT_ENCODING_UNICODE;
    if (opens)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return usable;
}
