// The picture server: every picture the answers name resolves, in every
// variant, as a real JPEG whose shape follows the product.
#include "market/Catalogue.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <FreeImage.h>
#include <Poco/URI.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>

namespace {

struct Picture {
    int status = 0;
    size_t bytes = 0;
    int width = 0;
    int height = 0;
    std::string body;
};

Picture fetch(const std::string& url)
{
    Poco::URI uri(url);
    MarketClient::Reply reply = MarketClient::get(uri.getPathAndQuery());
    Picture picture;
    picture.status = reply.status;
    picture.bytes = reply.body.size();
    picture.body = reply.body;
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(reply.body.data()), DWORD(reply.body.size()));
    if (FreeImage_GetFileTypeFromMemory(memory, 0) == FIF_JPEG) {
        if (FIBITMAP* bitmap = FreeImage_LoadFromMemory(FIF_JPEG, memory, 0)) {
            picture.width = int(FreeImage_GetWidth(bitmap));
            picture.height = int(FreeImage_GetHeight(bitmap));
            FreeImage_Unload(bitmap);
        }
    }
    FreeImage_CloseMemory(memory);
    return picture;
}

std::string productPicture(const market::Product& product)
{
    auto reply = MarketClient::call("taobao.items.search", {{"fields", "num_iid,pic_path"},
                                                            {"nicks", product.nick}, {"page_size", "200"}});
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    auto ids = MarketClient::texts(document, "num_iid");
    auto pictures = MarketClient::texts(document, "pic_path");
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == std::to_string(product.numIid))
            return pictures.at(i);
    return "";
}

const market::Product& productWithAspect(int aspect)
{
    for (const market::Product& product : LocalMarket::instance().server().catalogue().products())
        if (product.aspect == aspect)
            return product;
    throw std::runtime_error("no product of that shape");
}

TEST(PictureTest, EveryVariantIsARealJpegFittedToItsBox)
{
    LocalMarket::instance().reset();
    std::string url = productPicture(LocalMarket::instance().server().catalogue().products()[5]);
    ASSERT_FALSE(url.empty());
    int64_t served = LocalMarket::instance().server().pictureRequestCount();
    Picture full = fetch(url), small = fetch(url + "_b.jpg"), detail = fetch(url + "_310x310.jpg");
    EXPECT_EQ(LocalMarket::instance().server().pictureRequestCount() - served, 3);
    for (const Picture* picture : {&full, &small, &detail}) {
        EXPECT_EQ(picture->status, 200);
        EXPECT_GT(picture->bytes, 1024u);
        EXPECT_GT(picture->width, 0) << "not a JPEG";
    }
    EXPECT_LE(std::max(small.width, small.height), 250);
    EXPECT_EQ(std::max(detail.width, detail.height), 310);
    EXPECT_GT(full.width, detail.width);
    EXPECT_EQ(fetch(url + "_b.jpg").body, small.body) << "pictures are not stable";
}

TEST(PictureTest, ShapesFollowTheProductSoCardsAreSizedByIt)
{
    Picture square = fetch(productPicture(productWithAspect(0)) + "_b.jpg");
    Picture wide = fetch(productPicture(productWithAspect(1)) + "_b.jpg");
    Picture tall = fetch(productPicture(productWithAspect(2)) + "_b.jpg");
    EXPECT_EQ(square.width, square.height);
    EXPECT_GT(wide.width * 10, wide.height * 13);
    EXPECT_GT(tall.height * 10, tall.width * 13);
}

TEST(PictureTest, ShopLogosDescriptionAndRecommendationPicturesResolve)
{
    const market::Catalogue& catalogue = LocalMarket::instance().server().catalogue();
    const market::Product& product = catalogue.products()[9];
    auto shop = MarketClient::call("taobao.shop.get", {{"fields", "nick,pic_path"}, {"nick", product.nick}});
    TiXmlDocument shopDocument;
    MarketClient::parse(shop.body, shopDocument);
    Picture logo = fetch(MarketClient::texts(shopDocument, "pic_path").at(0));
    EXPECT_EQ(logo.status, 200);
    EXPECT_GT(logo.width, 0);

    auto item = MarketClient::call("taobao.item.get", {{"fields", "desc"}, {"num_iid", std::to_string(product.numIid)}});
    TiXmlDocument itemDocument;
    MarketClient::parse(item.body, itemDocument);
    std::string desc = MarketClient::texts(itemDocument, "desc").at(0);
    size_t at = desc.find("src=\"");
    ASSERT_NE(at, std::string::npos);
    std::string descPicture = desc.substr(at + 5, desc.find('"', at + 5) - at - 5);
    EXPECT_GT(fetch(descPicture).width, 0) << descPicture;

    Picture recommendation = fetch(LocalMarket::instance().serviceUrl() + "/pic/rec/1.jpg");
    EXPECT_GT(recommendation.width, 0);
}

TEST(PictureTest, UnknownPicturesAndVariantsAreNotFound)
{
    std::string base = LocalMarket::instance().serviceUrl() + "/pic/";
    std::string known = productPicture(LocalMarket::instance().server().catalogue().products()[2]);
    for (const std::string& url : {base + "item/1.jpg", base + "item/abc.jpg", base + "nothing/1.jpg",
                                   known + "_999x999.jpg", known + "_310x200.jpg", known + ".png",
                                   base + "item/../../catalogue.db", base + "rec/100000.jpg"})
        EXPECT_EQ(fetch(url).status, 404) << url;
}

}
