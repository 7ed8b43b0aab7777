// Card layouts composed on a canvas and checked by their pixels.
#include "platform/CodePage.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "scene/CCardFontSet.h"
#include "scene/CCardPainter.h"
#include "scene/CCardText.h"
#include "scene/CCreditIcons.h"
#include "service/CQXRecommendItem.h"
#include "taobao/CTaobaoProductInfoDetails.h"
#include "taobao/CTaobaoShopItem.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const uint32_t kRed = Canvas::ColorFromColorref(CCardPainter::kPriceColorref);

std::string Gbk(const char* utf8)
{
    return CodePage::Utf8ToGbk(utf8);
}

struct Box
{
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
    int Width() const { return right - left + 1; }
};

// The bounding box of the pixels matching a test, within a region.
Box BoxOf(const PixelImage& image, const std::function<bool(uint32_t)>& match, int x0 = 0, int y0 = 0, int x1 = 400,
          int y1 = 190)
{
    Box box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (match(image.Pixel(x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

bool IsRed(uint32_t p)
{
    return ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 90 && (p & 0xFF) < 90;
}

bool IsWhiteInk(uint32_t p)
{
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r > 60 && r == g && g == b;
}

bool IsInk(uint32_t p)
{
    return (p & 0xFFFFFF) != 0;
}

// Rows [y0, y1) of two images are the same.
bool SameRows(const PixelImage& a, const PixelImage& b, int y0, int y1)
{
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

// Horizontal bands of rows that hold ink: one per line of text.
int InkBands(const PixelImage& image, int x0 = 0, int x1 = 400)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.Height(); ++y) {
        bool ink = false;
        for (int x = x0; x < x1 && !ink; ++x)
            ink = IsInk(image.Pixel(x, y));
        bands += ink && !inBand;
        inBand = ink;
    }
    return bands;
}

CTaobaoShopItem Shop(const std::string& title)
{
    CTaobaoShopItem shop;
    shop.title = title;
    return shop;
}

CTaobaoProductInfoDetails Details()
{
    CTaobaoProductInfoDetails d;
    d.title = Gbk("韩版&amp;修身 连衣裙");
    d.price = "99.50";
    d.express_fee = "10.00";
    d.state = Gbk("浙江");
    d.city = Gbk("杭州");
    d.credit = "250";
    d.reputation = 0.9876;
    return d;
}

}

TEST(CardText, CharactersFollowTheTwoByteRule)
{
    const std::vector<std::string> chars = CCardText::SplitCharacters(Gbk("a中b") + "\x81\x40" + "\xB0");
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_EQ(chars[0], "a");
    EXPECT_EQ(chars[1], Gbk("中"));
    EXPECT_EQ(chars[2], "b");
    // A trail byte below 0xA1 stays with its lead byte.
    EXPECT_EQ(chars[3], "\x81\x40");
    EXPECT_EQ(chars[4], "\xB0");
}

TEST(CardText, WrapBreaksBeforeTheCharacterThatWouldOverflow)
{
    Canvas canvas(400, 190);
    canvas.SelectFont(CCardFontSet::getInstance().Get(1));
    canvas.SetTextColor(0xFFFFFF);
    const int w = CCardText::Measure(canvas, Gbk("中"));
    ASSERT_GT(w, 20);
    const int step = static_cast<int>(canvas.SelectedFont()->LineHeight() * 1.15);
    // Room for three characters and a half: lines of three.
    CCardText::WrapText(canvas, 3 * w + w / 2, 190, 1, Gbk("中中中中中中中"));
    EXPECT_EQ(InkBands(canvas.Image()), 3);
    const Box ink = BoxOf(canvas.Image(), IsInk);
    EXPECT_LE(ink.right, 3 * w);
    EXPECT_GE(ink.top, 1);
    EXPECT_LT(ink.bottom, 1 + 2 * step + canvas.TextHeight());
}

TEST(CardText, WrapCutsTheLinesThatDoNotFitTheBox)
{
    Canvas canvas(400, 190);
    canvas.SelectFont(CCardFontSet::getInstance().Get(1));
    const int w = CCardText::Measure(canvas, Gbk("中"));
    const int step = static_cast<int>(canvas.SelectedFont()->LineHeight() * 1.15);
    // Two lines fit in 2 steps; the third is cut without a mark.
    CCardText::WrapText(canvas, 2 * w, 2 * step, 10, Gbk("中中中中中中"));
    EXPECT_EQ(InkBands(canvas.Image()), 2);
    EXPECT_LT(BoxOf(canvas.Image(), IsInk).bottom, 10 + 2 * step);

    Canvas none(400, 190);
    none.SelectFont(CCardFontSet::getInstance().Get(1));
    CCardText::WrapText(none, 400, step - 1, 0, Gbk("中"));
    EXPECT_TRUE(BoxOf(none.Image(), IsInk).Empty());
}

TEST(CardText, ALineTooWideEndsAtAWholeCharacterWithAnEllipsis)
{
    Canvas canvas(400, 190);
    canvas.SelectFont(CCardFontSet::getInstance().Get(1));
    const int w = CCardText::Measure(canvas, Gbk("中"));
    const int ellipsis = CCardText::Measure(canvas, Gbk("…"));
    ASSERT_GT(ellipsis, 0);
    const std::string text = Gbk("中中中中中中");
    EXPECT_EQ(CCardText::FitWidth(canvas, 6 * w, text), text);

    const int width = 3 * w + w / 2;
    const std::string fitted = CCardText::FitWidth(canvas, width, text);
    ASSERT_GE(fitted.size(), 2u);
    EXPECT_EQ(fitted.substr(fitted.size() - 2), Gbk("…"));
    const std::string kept = fitted.substr(0, fitted.size() - 2);
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0) << "whole characters from the start";
    EXPECT_LE(CCardText::Measure(canvas, fitted), width);
    EXPECT_GT(CCardText::Measure(canvas, kept + Gbk("中…")), width) << "as many characters as fit";

    // No room for the mark: whole characters only.
    const std::string narrow = CCardText::FitWidth(canvas, ellipsis - 1, Gbk("ab中"));
    EXPECT_LE(CCardText::Measure(canvas, narrow), ellipsis - 1);
    EXPECT_EQ(narrow.find('\xA1'), std::string::npos);
}

TEST(CardPainter, ATitleWiderThanTheDetailsCardEndsBeforeItsEdge)
{
    CTaobaoProductInfoDetails d = Details();
    d.title = Gbk("韩版修身连衣裙夏季新款女装雪纺碎花长裙子显瘦气质");
    const PixelImage card = CCardPainter::ComposeDetailsCard(d).Image();
    const Box title = BoxOf(card, IsWhiteInk, 0, 0, 400, 30);
    ASSERT_FALSE(title.Empty());
    EXPECT_LT(title.right, 398) << "a character cut at the edge";
}

TEST(CardPainter, ProductCardPutsTitleSaleTypeAndRedPriceInTheirPlaces)
{
    const std::string title = Gbk("夏季新款纯棉短袖T恤男士宽松圆领半袖上衣 透气舒适");
    const Canvas card = CCardPainter::ComposeProductCard("1288.00", Gbk("一口价"), 0, title);
    const PixelImage& image = card.Image();
    ASSERT_EQ(image.Width(), 400);
    ASSERT_EQ(image.Height(), 190);

    // The price: red, right-aligned at x 399, its cell ending at y 189.
    const Box price = BoxOf(image, IsRed);
    ASSERT_FALSE(price.Empty());
    EXPECT_GE(price.right, 390);
    EXPECT_LE(price.right, 399);
    EXPECT_GE(price.top, 189 - 50);
    EXPECT_GT(price.Width(), 120);
    // The sale type: white, at the left, above y 186.
    const Box saleType = BoxOf(image, IsWhiteInk, 0, 130, 200, 190);
    ASSERT_FALSE(saleType.Empty());
    EXPECT_LT(saleType.left, 10);
    EXPECT_LE(saleType.bottom, 186);
    EXPECT_GE(saleType.top, 186 - 30);
    // The title wraps: two lines from y 1, both white.
    const Box titleBox = BoxOf(image, IsWhiteInk, 0, 0, 400, 120);
    EXPECT_GE(titleBox.top, 1);
    EXPECT_GT(titleBox.Width(), 300);
    EXPECT_EQ(InkBands(PixelImage(image)), 3);

    // Position 0 reads "1. " before the title.
    Canvas expected(400, 190);
    expected.SelectFont(CCardFontSet::getInstance().Get(1));
    CCardText::WrapText(expected, 400, 160, 1, "1. " + title);
    EXPECT_TRUE(SameRows(image, expected.Image(), 0, 100));
}

TEST(CardPainter, ProductTitleEntitiesAreDecoded)
{
    const Canvas encoded = CCardPainter::ComposeProductCard("1.00", "", 4, Gbk("A&amp;B"));
    const Canvas plain = CCardPainter::ComposeProductCard("1.00", "", 4, Gbk("A&B"));
    EXPECT_TRUE(SameRows(encoded.Image(), plain.Image(), 0, 190));
}

TEST(CardPainter, CreditBandsGoFromHeartsToCrowns)
{
    auto band = [](long long credit) {
        const CCreditIcons::Band b = CCreditIcons::BandOf(credit);
        return std::make_pair(b.icon, b.count);
    };
    EXPECT_EQ(band(3), std::make_pair(CCreditIcons::None, 0));
    EXPECT_EQ(band(4), std::make_pair(CCreditIcons::Heart, 1));
    EXPECT_EQ(band(41), std::make_pair(CCreditIcons::Heart, 3));
    EXPECT_EQ(band(250), std::make_pair(CCreditIcons::Heart, 5));
    EXPECT_EQ(band(251), std::make_pair(CCreditIcons::Diamond, 1));
    EXPECT_EQ(band(10000), std::make_pair(CCreditIcons::Diamond, 5));
    EXPECT_EQ(band(10001), std::make_pair(CCreditIcons::Crown, 1));
    EXPECT_EQ(band(200000), std::make_pair(CCreditIcons::Crown, 4));
    EXPECT_EQ(band(200001), std::make_pair(CCreditIcons::Crown, 5));
    EXPECT_EQ(CCreditIcons::ParseCredit("1300"), 1300);
    EXPECT_EQ(CCreditIcons::ParseCredit("abc"), 0);
}

TEST(CardPainter, DetailsCardShowsRateIconsPricesAndPlace)
{
    const CTaobaoProductInfoDetails details = Details();
    const PixelImage card = CCardPainter::ComposeDetailsCard(details).Image();
    // Five hearts, each twice the 14-pixel icon, 4 pixels apart, the first ending at 398.
    const int y = static_cast<int>(static_cast<int>(CCardFontSet::getInstance().Get(0)->LineHeight() * 1.15) * 1.1);
    const Box hearts = BoxOf(card, IsRed, 200, y, 400, y + 28);
    ASSERT_FALSE(hearts.Empty());
    EXPECT_LE(hearts.right, 398);
    EXPECT_GE(hearts.left, 399 - 5 * 28 - 4 * 4);
    EXPECT_LT(hearts.left, 399 - 4 * 28 - 4 * 4);
    EXPECT_GE(hearts.top, y);
    EXPECT_LT(hearts.bottom, y + 28);
    // The total 109.50 in red at the bottom right.
    const Box total = BoxOf(card, IsRed, 0, 100, 400, 190);
    EXPECT_GE(total.right, 390);

    // A credit of 3 shows no icon; a negative good rate hides the rate line.
    CTaobaoProductInfoDetails plain = details;
    plain.credit = "3";
    EXPECT_TRUE(BoxOf(CCardPainter::ComposeDetailsCard(plain).Image(), IsRed, 200, y, 400, y + 28).Empty());
    plain.reputation = -1;
    EXPECT_TRUE(BoxOf(CCardPainter::ComposeDetailsCard(plain).Image(), IsInk, 0, y, 200, y + 30).Empty());

    // A city equal to its state is written once.
    CTaobaoProductInfoDetails same = details;
    same.city = same.state;
    CTaobaoProductInfoDetails stateOnly = details;
    stateOnly.city.clear();
    EXPECT_TRUE(SameRows(CCardPainter::ComposeDetailsCard(same).Image(),
                         CCardPainter::ComposeDetailsCard(stateOnly).Image(), 0, 190));
    EXPECT_FALSE(SameRows(CCardPainter::ComposeDetailsCard(details).Image(),
                          CCardPainter::ComposeDetailsCard(stateOnly).Image(), 0, 190));
}

TEST(CardPainter, DiamondsAndCrownsAreDrawnFromTheirFiles)
{
    CTaobaoProductInfoDetails details = Details();
    const int y = static_cast<int>(static_cast<int>(CCardFontSet::getInstance().Get(0)->LineHeight() * 1.15) * 1.1);
    auto icons = [&](const char* credit, const std::function<bool(uint32_t)>& colour) {
        details.credit = credit;
        return BoxOf(CCardPainter::ComposeDetailsCard(details).Image(), colour, 200, y, 400, y + 28);
    };
    auto blue = [](uint32_t p) { return (p & 0xFF) > 150 && ((p >> 16) & 0xFF) < 120; };
    auto gold = [](uint32_t p) { return ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) > 140 && (p & 0xFF) < 90; };
    const Box oneDiamond = icons("251", blue);
    ASSERT_FALSE(oneDiamond.Empty());
    EXPECT_GE(oneDiamond.left, 399 - 28);
    const Box twoCrowns = icons("20001", gold);
    ASSERT_FALSE(twoCrowns.Empty());
    EXPECT_GE(twoCrowns.left, 399 - 2 * 28 - 4);
    EXPECT_LT(twoCrowns.left, 399 - 28 - 4);
}

TEST(CardPainter, ShopCardWrapsAWideTitleWithTheSmallFont)
{
    const PixelImage shortTitle = CCardPainter::ComposeShopCard(Shop(Gbk("小店"))).Image();
    EXPECT_EQ(InkBands(shortTitle), 2);
    const std::string wide = Gbk("旗舰店官方正品保障全场包邮七天无理由退换货品质生活从这里开始欢迎光临本店");
    const PixelImage wrapped = CCardPainter::ComposeShopCard(Shop(wide)).Image();
    // The "店铺" header is the same; below it the title takes several smaller lines.
    EXPECT_TRUE(SameRows(shortTitle, wrapped, 0, 60));
    EXPECT_GE(InkBands(wrapped), 3);
    EXPECT_LE(BoxOf(wrapped, IsInk).bottom, 189);
}

TEST(CardPainter, AShopWithoutATitleIsNamedByItsNick)
{
    CTaobaoShopItem saved;
    saved.nick = Gbk("小店");
    const PixelImage byNick = CCardPainter::ComposeShopCard(saved).Image();
    EXPECT_EQ(InkBands(byNick), 2);
    EXPECT_TRUE(SameRows(byNick, CCardPainter::ComposeShopCard(Shop(Gbk("小店"))).Image(), 0, 190));
    saved.title = Gbk("旗舰");
    EXPECT_FALSE(SameRows(byNick, CCardPainter::ComposeShopCard(saved).Image(), 60, 190)) << "the title comes first";
}

TEST(CardPainter, RecommendCardHeaderFollowsTheKind)
{
    CQXRecommendItem item;
    item.name = Gbk("连衣裙");
    const PixelImage search = CCardPainter::ComposeRecommendCard(item).Image();
    item.type = CQXRecommendItem::Shop;
    const PixelImage shop = CCardPainter::ComposeRecommendCard(item).Image();
    EXPECT_TRUE(SameRows(shop, CCardPainter::ComposeShopCard(Shop(item.name)).Image(), 0, 190));
    EXPECT_FALSE(SameRows(search, shop, 0, 60));
    // The card text replaces the keyword when present.
    item.cardText = Gbk("夏日清凉");
    EXPECT_FALSE(SameRows(shop, CCardPainter::ComposeRecommendCard(item).Image(), 60, 190));
    item.type = CQXRecommendItem::Product;
    item.productText = Gbk("特价");
    EXPECT_GT(BoxOf(CCardPainter::ComposeRecommendCard(item).Image(), IsInk, 0, 0, 400, 60).Width(),
              BoxOf(search, IsInk, 0, 0, 400, 60).Width());
}

TEST(CardPainter, DrawFunctionsMakeTheCardAndPictureTextures)
{
    PlatformWindow window;
    RenderDevice device(window);
    const TexturePtr card = CCardPainter::DrawProductCard("1.00", "", 0, Gbk("好"), device);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->Width(), 400);
    EXPECT_EQ(card->Height(), 190);
    EXPECT_TRUE(card->HasMipmaps());
    EXPECT_FALSE(CCardPainter::LoadPictureTexture("/no/such/picture.jpg", device));
    const TexturePtr picture = CCardPainter::LoadPictureTexture("../datafiles/imagesets/no_pic.jpg", device);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 256);
    EXPECT_FALSE(CCardPainter::DrawRecommendCard(-1, device));
}
