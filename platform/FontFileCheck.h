#pragma once
#include <cstddef>

// Whether FreeType opens the first face of a font file's bytes and finds a
// Unicode character map in it: what a GUI font needs of its file.
bool OpensAsUnicodeFont(const unsigned char* data, size_t size);
