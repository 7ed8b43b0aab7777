#pragma once
#include <FreeImage.h>

#include <string>

// A black side x side picture as FreeImage writes it in the given format: a
// real file image whose header tests can read or change.
inline std::string EncodedPicture(FREE_IMAGE_FORMAT format, int side)
{
    FIBITMAP* bitmap = FreeImage_Allocate(side, side, 24);
    if (format == FIF_GIF) {
        FIBITMAP* palettized = FreeImage_ColorQuantize(bitmap, FIQ_WUQUANT);
        FreeImage_Unload(bitmap);
        bitmap = palettized;
    }
    FIMEMORY* memory = FreeImage_OpenMemory();
    FreeImage_SaveToMemory(format, bitmap, memory, 0);
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &data, &size);
    std::string bytes(reinterpret_cast<char*>(data), size);
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
    return bytes;
}
