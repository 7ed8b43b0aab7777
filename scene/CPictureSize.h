#pragma once
#include <string>

// The size a picture is shown at on its card, in card units: the long side
// 220, the short side scaled to keep the aspect, or the full 220 square for
// pictures within about 10% of square (and for unreadable files).
struct CPictureSize
{
    int width = 220;
    int height = 220;

    static CPictureSize Of(int fileWidth, int fileHeight);
    static CPictureSize OfFile(const std::string& path);
};
