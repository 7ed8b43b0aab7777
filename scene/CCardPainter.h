#pragma once
#include "platform/Canvas.h"
#include "platform/Texture.h"

#include <string>

class RenderDevice;
struct CQXRecommendItem;
struct CTaobaoProductInfoDetails;
struct CTaobaoShopItem;

// The two textures of a wall card: the picture, and the 400 x 190 card of
// text under it (title, price, sale type, seller credit ...), composed on a
// canvas in white on black with prices in red. Text arguments are in the
// system code page. The Compose functions only draw; the Draw functions also
// make the texture (with mipmaps, so small cards stay readable), in which
// pure black is transparent.
//
// These run on the render worker thread under the device lock. No GL work
// happens there: a texture keeps its pixels until the render thread first
// draws it (see Texture).
class CCardPainter
{
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 190;
    // GDI's colour value of prices: red 255, green 38, blue 37.
    static constexpr uint32_t kPriceColorref = 2434815;

    static Canvas ComposeProductCard(const std::string& price, const std::string& saleType, int position,
                                     const std::string& title);
    static Canvas ComposeDetailsCard(const CTaobaoProductInfoDetails& details);
    // A shop's card names it by its title, or by its nick while the title is
    // unknown (a favourite shop keeps only nick and picture).
    static Canvas ComposeShopCard(const CTaobaoShopItem& shop);
    static Canvas ComposeRecommendCard(const CQXRecommendItem& item);

    static TexturePtr DrawProductCard(const std::string& price, const std::string& saleType, int position,
                                      const std::string& title, RenderDevice& device);
    static TexturePtr DrawDetailsCard(const CTaobaoProductInfoDetails& details, RenderDevice& device);
    // The card of a saved product; a num_iid the list lacks draws an empty record.
    static TexturePtr DrawFavoriteCard(const std::string& numIid, RenderDevice& device);
    static TexturePtr DrawHistoryCard(const std::string& numIid, RenderDevice& device);
    static TexturePtr DrawShopCard(const CTaobaoShopItem& shop, RenderDevice& device);
    // Null when the index is outside the current recommendation list.
    static TexturePtr DrawRecommendCard(int index, RenderDevice& device);

    // The picture file as a texture with its full mip chain; pure black is
    // transparent. Null when the file is missing or unreadable.
    static TexturePtr LoadPictureTexture(const std::string& path, RenderDevice& device);

private:
    static Canvas NewCard();
    static TexturePtr ToTexture(const Canvas& canvas, RenderDevice& device);
    static void SelectFont(Canvas& canvas, int font, uint32_t rgb);
    // The y where the text under a 16-pixel-high header line of font 2 starts.
    static int BelowHeader(const Canvas& canvas);
    // Draws a name on one line with font 2 when it fits the card, else wrapped
    // with the smaller font below the header.
    static void DrawName(Canvas& canvas, const std::string& name, int wrapFont);
};
