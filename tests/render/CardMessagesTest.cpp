// The card messages between the render worker and the wall: what they
// prepare on the worker, what they refuse, and what the wall receives.
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/PixelImage.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "render/CRenderDeviceLock.h"
#include "render/CRenderMsg_ShowDefaultProductSnapshot.h"
#include "render/CRenderMsg_ShowFavoriteShop.h"
#include "render/CRenderMsg_ShowProductSnapshot.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/taobao/StoreDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

enum ModeId
{
    SearchMode = 0,
    FavoriteProducts = 2,
    FavoriteShops = 4,
    Roam = 5,
    Unknown = 8,
};

// What a card message prepared, seen from inside.
struct ShopCardMessage : CRenderMsg_ShowFavoriteShop
{
    using CRenderMsg_ShowFavoriteShop::CRenderMsg_ShowFavoriteShop;
    const Texture* Picture() const { return m_pictureTexture.get(); }
};

// A device that is never shown: the textures the messages make keep their
// pixels, as no frame draws them.
class CardMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CProductWall::getInstance().ClearCards();
        CRenderDeviceLock::Scoped lock;
        CQX_GlobalVariable::getInstance().SetDevice(&m_device);
    }
    void TearDown() override
    {
        CProductWall::getInstance().ClearCards();
        CQX_GlobalVariable::getInstance().SetCurrentModeId(Unknown);
        CRenderDeviceLock::Scoped lock;
        CRenderDeviceLock::SetDeviceUsable(true);
        CQX_GlobalVariable::getInstance().SetDevice(nullptr);
    }

    static std::unique_ptr<CRenderMsg_ShowProductSnapshot> Product(int position, int modeId,
                                                                   const std::string& picture = kNoPicturePath)
    {
        CRenderMsg_ShowProductSnapshot::Card card;
        card.num_iid = "1001";
        card.title = "title";
        card.price = "12.50";
        card.saleType = "fixed";
        card.picturePath = picture;
        return std::make_unique<CRenderMsg_ShowProductSnapshot>(
            position, CQX_GlobalVariable::getInstance().GetSearchID(), modeId, std::move(card));
    }
    static int CurrentSearch() { return CQX_GlobalVariable::getInstance().GetSearchID(); }

    StoreDirectory m_directory;
    PlatformWindow m_window;
    RenderDevice m_device{m_window};
    std::set<int> m_prepared;
};

TEST_F(CardMessagesTest, AProductCardIsPreparedOnceAndPlacedWithItsPicture)
{
    auto card = Product(4, SearchMode);
    ASSERT_TRUE(card->PreRender(m_prepared));
    EXPECT_EQ(m_prepared, std::set<int>{4});
    EXPECT_FALSE(Product(4, SearchMode)->PreRender(m_prepared)) << "the position was prepared in this search";

    card->Process();
    EXPECT_TRUE(CProductWall::getInstance().HasCard(4));
    EXPECT_EQ(CProductWall::getInstance().GetCardPicturePath(4), kNoPicturePath);

    std::set<int> fresh;
    auto second = Product(4, SearchMode, "../datafiles/img/other.jpg");
    ASSERT_TRUE(second->PreRender(fresh));
    second->Process();
    EXPECT_EQ(CProductWall::getInstance().GetCardPicturePath(4), kNoPicturePath) << "a placed card is never replaced";
}

TEST_F(CardMessagesTest, OnlyModesThatListProductsGetProductCards)
{
    EXPECT_TRUE(Product(1, FavoriteProducts)->PreRender(m_prepared));
    EXPECT_FALSE(Product(2, FavoriteShops)->PreRender(m_prepared));
    EXPECT_FALSE(Product(3, Roam)->PreRender(m_prepared));
    EXPECT_EQ(m_prepared, std::set<int>{1});
}

TEST_F(CardMessagesTest, NoCardIsMadeOnceShutdownHasTakenTheDevice)
{
    {
        CRenderDeviceLock::Scoped lock;
        CRenderDeviceLock::SetDeviceUsable(false);
    }
    EXPECT_FALSE(Product(1, SearchMode)->PreRender(m_prepared));
    EXPECT_TRUE(m_prepared.empty());
    {
        CRenderDeviceLock::Scoped lock;
        CRenderDeviceLock::SetDeviceUsable(true);
        CQX_GlobalVariable::getInstance().SetDevice(nullptr);
    }
    EXPECT_FALSE(Product(1, SearchMode)->PreRender(m_prepared)) << "no device yet";
}

TEST_F(CardMessagesTest, APlaceholderMarksOnlyRealPositions)
{
    CRenderMsg_ShowDefaultProductSnapshot(-1, CurrentSearch()).Process();
    EXPECT_EQ(CProductWall::getInstance().SlotCount(), 0u);
    CRenderMsg_ShowDefaultProductSnapshot(6, CurrentSearch()).Process();
    EXPECT_EQ(CProductWall::getInstance().SlotCount(), 1u);
    EXPECT_FALSE(CProductWall::getInstance().HasCard(6)) << "a placeholder is not a card";
}

TEST_F(CardMessagesTest, AFavouriteShopCardShowsItsSavedPicture)
{
    EXPECT_EQ(CRenderMsg_ShowFavoriteShop::LocalPicturePath("http://127.0.0.1/pic/shop/77.jpg"),
              "../datafiles/img/shop_77.jpg");
    EXPECT_EQ(CRenderMsg_ShowFavoriteShop::LocalPicturePath("http://127.0.0.1/pic/shop/"), kNoPicturePath);
    EXPECT_EQ(CRenderMsg_ShowFavoriteShop::LocalPicturePath(""), kNoPicturePath);

    // The program's placeholder, where the program finds it.
    std::filesystem::create_directories("../datafiles/imagesets");
    std::filesystem::copy_file(std::string(std::getenv("QX_BUILD_DIR")) + "/datafiles/imagesets/no_pic.jpg",
                               kNoPicturePath);
    CTaobaoDataStore::getInstance().favoriteShops.addFavoriteShop("shop nick", "http://127.0.0.1/pic/shop/77.jpg");
    ShopCardMessage shop(0, CurrentSearch());
    CRenderMsg_ShowFavoriteShop missing(1, CurrentSearch());
    CQX_GlobalVariable::getInstance().SetCurrentModeId(SearchMode);
    EXPECT_FALSE(shop.PreRender(m_prepared)) << "only the favourite-shop mode shows shops";
    CQX_GlobalVariable::getInstance().SetCurrentModeId(FavoriteShops);
    EXPECT_FALSE(missing.PreRender(m_prepared)) << "no shop at that index";
    ASSERT_TRUE(shop.PreRender(m_prepared));
    // The shop's picture was never downloaded: the placeholder stands in.
    ASSERT_TRUE(shop.Picture());
    int width = 0, height = 0;
    ASSERT_TRUE(PixelImage::ReadSize(kNoPicturePath, width, height));
    EXPECT_EQ(shop.Picture()->Width(), width);
    shop.Process();
    EXPECT_TRUE(CProductWall::getInstance().HasCard(0));
    EXPECT_EQ(CProductWall::getInstance().GetCardPicturePath(0), "../datafiles/img/shop_77.jpg");
}

}
