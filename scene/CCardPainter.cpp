#include "scene/CCardPainter.h"

#include "platform/RenderDevice.h"
#include "scene/CCardFontSet.h"
#include "scene/CCardText.h"
#include "scene/CCreditIcons.h"
#include "service/CQXRecommendCatalogue.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoShopItem.h"
#include "taobao/TaobaoText.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kPriceColor = Canvas::ColorFromColorref(CCardPainter::kPriceColorref);

std::string Format(const char* format, double value)
{
    char buffer[64];
    snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

// The line step of the selected font; 0 without one.
int LineStep(const Canvas& canvas)
{
    const Font* font = canvas.SelectedFont();
    return font ? static_cast<int>(font->LineHeight() * 1.15) : 0;
}

// Draws right-aligned and returns where the text starts.
int DrawRightAligned(Canvas& canvas, int right, int y, const std::string& gbk)
{
    const int left = right - CCardText::Measure(canvas, gbk);
    CCardText::Draw(canvas, left, y, gbk);
    return left;
}

// What shares a line with right-aligned text keeps this far from it.
constexpr int kGap = 8;

TexturePtr DrawSavedCard(const CTaobaoFeedMap& list, const std::string& numIid, RenderDevice& device)
{
    CTaobaoProductInfoDetails details;
    list.copyFeed(numIid, details);
    return CCardPainter::DrawDetailsCard(details, device);
}

}

Canvas CCardPainter::NewCard()
{
    return Canvas(kWidth, kHeight);
}

void CCardPainter::SelectFont(Canvas& canvas, int font, uint32_t rgb)
{
    canvas.SelectFont(CCardFontSet::getInstance().Get(font));
    canvas.SetTextColor(rgb);
}

Canvas CCardPainter::ComposeProductCard(const std::string& price, const std::string& saleType, int position,
                                        const std::string& title)
{
    Canvas canvas = NewCard();
    SelectFont(canvas, 1, kWhite);
    const std::string text = std::to_string(position + 1) + ". " + HtmlToText(title);
    CCardText::WrapText(canvas, kWidth, 160, 1, text);

    SelectFont(canvas, 3, kPriceColor);
    const int priceLeft = DrawRightAligned(canvas, 399, 189 - canvas.TextHeight(), price);

    SelectFont(canvas, 0, kWhite);
    CCardText::DrawFitted(canvas, 0, 186 - canvas.TextHeight(), priceLeft - kGap, saleType);
    return canvas;
}

Canvas CCardPainter::ComposeDetailsCard(const CTaobaoProductInfoDetails& details)
{
    Canvas canvas = NewCard();
    SelectFont(canvas, 0, kWhite);
    const int y = static_cast<int>(LineStep(canvas) * 1.1);
    CCardText::DrawFitted(canvas, 0, 0, kWidth, HtmlToText(details.title));
    if (details.reputation >= 0)
        CCardText::Draw(canvas, 0, y, CCardText::Ansi("好评: ") + Format("%.2f%%", details.reputation * 100));
    CCreditIcons::Draw(canvas, CCreditIcons::ParseCredit(details.credit), y);

    const int y2 = 2 * y;
    CCardText::Draw(canvas, 0, y2, CCardText::Ansi("价格：") + details.price);
    DrawRightAligned(canvas, kWidth, y2, CCardText::Ansi("快递：") + details.express_fee);

    SelectFont(canvas, 2, kWhite);
    const int y3 = kHeight - LineStep(canvas);
    SelectFont(canvas, 3, kPriceColor);
    const double total = std::strtod(details.price.c_str(), nullptr) + std::strtod(details.express_fee.c_str(), nullptr);
    const int totalLeft = DrawRightAligned(canvas, kWidth, y3, Format("%.2f", total));

    SelectFont(canvas, 2, kWhite);
    const std::string location = details.city != details.state ? details.state + details.city : details.state;
    CCardText::DrawFitted(canvas, 0, y3, totalLeft - kGap, location);
    return canvas;
}

int CCardPainter::BelowHeader(const Canvas& canvas)
{
    return static_cast<int>(LineStep(canvas) * 1.2 + 16);
}

void CCardPainter::DrawName(Canvas& canvas, const std::string& name, int wrapFont)
{
    const int y = BelowHeader(canvas);
    if (CCardText::Measure(canvas, name) <= kWidth) {
        CCardText::Draw(canvas, 0, y, name);
        return;
    }
    SelectFont(canvas, wrapFont, kWhite);
    CCardText::WrapText(canvas, kWidth, kHeight - y, y, name);
}

Canvas CCardPainter::ComposeShopCard(const CTaobaoShopItem& shop)
{
    Canvas canvas = NewCard();
    SelectFont(canvas, 2, kWhite);
    CCardText::Draw(canvas, 0, 16, CCardText::Ansi("店铺"));
    DrawName(canvas, shop.title.empty() ? shop.nick : shop.title, 0);
    return canvas;
}

Canvas CCardPainter::ComposeRecommendCard(const CQXRecommendItem& item)
{
    Canvas canvas = NewCard();
    SelectFont(canvas, 2, kWhite);
    std::string header;
    switch (item.type) {
    case CQXRecommendItem::Shop: header = CCardText::Ansi("店铺"); break;
    case CQXRecommendItem::Product: header = CCardText::Ansi("单品　") + item.productText; break;
    default: header = CCardText::Ansi("搜索"); break;
    }
    CCardText::DrawFitted(canvas, 0, 16, kWidth, header);
    DrawName(canvas, item.cardText.empty() ? item.name : item.cardText, 1);
    return canvas;
}

TexturePtr CCardPainter::ToTexture(const Canvas& canvas, RenderDevice& device)
{
    PixelImage pixels = canvas.Image();
    pixels.ApplyColorKey(kOpaqueBlack);
    return device.CreateTexture(std::move(pixels), true);
}

TexturePtr CCardPainter::DrawProductCard(const std::string& price, const std::string& saleType, int position,
                                         const std::string& title, RenderDevice& device)
{
    return ToTexture(ComposeProductCard(price, saleType, position, title), device);
}

TexturePtr CCardPainter::DrawDetailsCard(const CTaobaoProductInfoDetails& details, RenderDevice& device)
{
    return ToTexture(ComposeDetailsCard(details), device);
}

TexturePtr CCardPainter::DrawFavoriteCard(const std::string& numIid, RenderDevice& device)
{
    return DrawSavedCard(CTaobaoDataStore::getInstance().favorites, numIid, device);
}

TexturePtr CCardPainter::DrawHistoryCard(const std::string& numIid, RenderDevice& device)
{
    return DrawSavedCard(CTaobaoDataStore::getInstance().history, numIid, device);
}

TexturePtr CCardPainter::DrawShopCard(const CTaobaoShopItem& shop, RenderDevice& device)
{
    return ToTexture(ComposeShopCard(shop), device);
}

TexturePtr CCardPainter::DrawRecommendCard(int index, RenderDevice& device)
{
    const CQXRecommendItem* item = CQXRecommendCatalogue::getInstance().GetItem(index);
    if (!item)
        return nullptr;
    return ToTexture(ComposeRecommendCard(*item), device);
}

TexturePtr CCardPainter::LoadPictureTexture(const std::string& path, RenderDevice& device)
{
    return device.CreateTextureFromFile(path, 0, 0, kOpaqueBlack, true);
}
