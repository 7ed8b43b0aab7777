#include "scene/CCreditIcons.h"

#include "platform/Canvas.h"

#include <cstdlib>

namespace {

struct BandLimit
{
    long long upTo;
    CCreditIcons::Icon icon;
    int count;
};

const BandLimit kBands[] = {
    {3, CCreditIcons::None, 0},         {10, CCreditIcons::Heart, 1},      {40, CCreditIcons::Heart, 2},
    {90, CCreditIcons::Heart, 3},       {150, CCreditIcons::Heart, 4},     {250, CCreditIcons::Heart, 5},
    {500, CCreditIcons::Diamond, 1},    {1000, CCreditIcons::Diamond, 2},  {2000, CCreditIcons::Diamond, 3},
    {5000, CCreditIcons::Diamond, 4},   {10000, CCreditIcons::Diamond, 5}, {20000, CCreditIcons::Crown, 1},
    {50000, CCreditIcons::Crown, 2},    {100000, CCreditIcons::Crown, 3},  {200000, CCreditIcons::Crown, 4},
};

constexpr int kCardRight = 399;
constexpr int kGap = 4;

}

CCreditIcons::Band CCreditIcons::BandOf(long long credit)
{
    for (const BandLimit& band : kBands)
        if (credit <= band.upTo)
            return {band.icon, band.count};
    return {Crown, 5};
}

long long CCreditIcons::ParseCredit(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

const char* CCreditIcons::IconFile(Icon icon)
{
    switch (icon) {
    case Heart: return "../datafiles/imagesets/redheart.bmp";
    case Diamond: return "../datafiles/imagesets/diamond.bmp";
    case Crown: return "../datafiles/imagesets/crown.bmp";
    case None: break;
    }
    return "";
}

void CCreditIcons::Draw(Canvas& canvas, long long credit, int y)
{
    const Band band = BandOf(credit);
    if (band.icon == None)
        return;
    const PixelImage icon = PixelImage::LoadFile(IconFile(band.icon));
    if (icon.IsEmpty())
        return;
    const int width = 2 * icon.Width();
    int x = kCardRight - width;
    for (int i = 0; i < band.count; ++i, x -= width + kGap)
        canvas.StretchBlit(icon, x, y, width, 2 * icon.Height());
}
