#pragma once
#include <string>

class Canvas;

// The seller credit shown as icons: hearts, then diamonds, then crowns, one
// to five of each by the number of ratings the seller has.
class CCreditIcons
{
public:
    enum Icon { None, Heart, Diamond, Crown };

    struct Band
    {
        Icon icon = None;
        int count = 0;
    };

    static Band BandOf(long long credit);
    // The credit as the records hold it: decimal text, anything else reads as 0.
    static long long ParseCredit(const std::string& text);
    // "../datafiles/imagesets/redheart.bmp", "diamond.bmp", "crown.bmp"; "" for None.
    static const char* IconFile(Icon icon);

    // Draws the band's icons right-aligned on the card, tops at y, each the
    // icon file stretched to twice its size, 4 pixels apart. A file that
    // cannot be read draws nothing.
    static void Draw(Canvas& canvas, long long credit, int y);
};
