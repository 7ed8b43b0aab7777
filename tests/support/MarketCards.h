#pragma once
#include <string>
#include <vector>

class CProductWall;
class RenderDevice;

// Real product cards from the local marketplace for drawing tests and
// benchmarks: products of its catalogue with their card pictures fetched
// over HTTP, placed on a wall the way the render pipeline places them.
struct MarketCard
{
    std::string numIid;
    std::string title;     // system code page
    std::string price;
    std::string saleType;  // system code page
    std::string picturePath;
};

class MarketCards
{
public:
    // The first count products of the catalogue; pictures are fetched once
    // into $QX_BUILD_DIR/scene-pictures.
    static std::vector<MarketCard> Fetch(int count);

    // Composes the card and loads the picture as the render worker does,
    // then hands both to the wall at index.
    static bool AddToWall(CProductWall& wall, int index, const MarketCard& card, RenderDevice& device);
};
