#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CTopPanel.h"
#include "platform/Ticks.h"
#include "render/CRenderMsg_Shop_Completed.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"
#include "tests/mainwnd/BrowsingFixture.h"

#include <set>

using TopPanelView = BrowsingFixture;

namespace {

const char* const kViewWidgets[] = {
    "SearchDiv/SearchNotice",         "SearchDiv/StartPrice",           "SearchDiv/EndPrice",
    "SearchDiv/PriceText1",           "SearchDiv/PriceText2",           "MotionControl/Credit",
    "MotionControl/Price",            "MotionControl/Volume",           "MotionControl/TimeSort",
    "MotionControl/Location",         "FilterCombo",                    "MotionControl/ReturnRecommend",
    "MotionControl/FavoriteShop",     "MotionControl/FavoriteShopProduct", "BottomPannel/RedoHistoryBtn",
    "BottomPannel/RecoverHistoryBtn", "SearchDiv/SearchInShopOrNot",    "TopPanel/ShopName",
    "RecommendClassCombo"};

std::set<std::string> Shown()
{
    std::set<std::string> shown;
    for (const char* name : kViewWidgets)
        if (CEGuiCompat::GetWindow(name)->isVisible())
            shown.insert(name);
    return shown;
}

const std::set<std::string> kHistory = {"BottomPannel/RedoHistoryBtn", "BottomPannel/RecoverHistoryBtn"};

std::set<std::string> With(std::set<std::string> a, const std::set<std::string>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

std::string Property(const char* window, const char* name)
{
    return CEGuiCompat::FromGui(CEGuiCompat::GetWindow(window)->getProperty(name));
}

}

TEST_F(TopPanelView, EachModeShowsItsWidgets)
{
    const std::set<std::string> prices = {"SearchDiv/StartPrice", "SearchDiv/EndPrice", "SearchDiv/PriceText1",
                                          "SearchDiv/PriceText2"};
    const std::set<std::string> creditPrice = {"MotionControl/Credit", "MotionControl/Price"};
    const std::string notice = "SearchDiv/SearchNotice";
    const std::string back = "MotionControl/ReturnRecommend";

    EXPECT_EQ(Shown(), With({notice, "RecommendClassCombo"}, kHistory)) << "roam";
    Modes().SwitchMode(ModeSearch);
    EXPECT_EQ(Shown(), With(With(With(prices, creditPrice), kHistory),
                            {"MotionControl/Volume", "MotionControl/Location", "FilterCombo", back}))
        << "search";
    Modes().SwitchMode(ModeSimpleSearch);
    EXPECT_EQ(Shown(), With({notice, back}, kHistory)) << "simple search";
    Modes().SwitchMode(ModeToday);
    EXPECT_EQ(Shown(), With(creditPrice, {notice, back})) << "today";
    Modes().SwitchMode(ModeFavoriteProducts);
    EXPECT_EQ(Shown(), With(creditPrice, {notice, back, "MotionControl/FavoriteShopProduct"})) << "favourites";
    Modes().SwitchMode(ModeFavoriteShops);
    EXPECT_EQ(Shown(), std::set<std::string>({notice, back, "MotionControl/FavoriteShopProduct"})) << "shops";
    Modes().SwitchMode(ModeShop);
    EXPECT_EQ(Shown(), With(With(prices, kHistory),
                            {"MotionControl/Price", "MotionControl/Volume", "MotionControl/TimeSort", back,
                             "MotionControl/FavoriteShop", "SearchDiv/SearchInShopOrNot", "TopPanel/ShopName"}))
        << "shop";
}

TEST_F(TopPanelView, RoamViewForgetsTheShopAndTheKeyword)
{
    EnterShop();
    Type("SearchDiv/editName", "shoes");
    Modes().SwitchMode(ModeRoam);
    EXPECT_TRUE(CTopPanel::getInstance().GetShopNick().empty());
    EXPECT_TRUE(CTopPanel::getInstance().GetShopPicturePath().empty());
    EXPECT_EQ(TextOf("SearchDiv/editName"), "");
}

TEST_F(TopPanelView, ShopHeaderShowsTheSellerOfTheShopProfile)
{
    EnterShop();
    EXPECT_EQ(TextOf("TopPanel/ShopName"), "");
    CTaobaoShopItem shop;
    shop.nick = "小店的名字";
    UTF8ToAnsi(shop.nick);
    CRenderMsg_Shop_Completed(SearchId(), shop).Process();
    EXPECT_EQ(TextOf("TopPanel/ShopName"), "小店的名字");
    EXPECT_EQ(CTopPanel::getInstance().GetShopDisplayName(), "小店的名字");
}

TEST_F(TopPanelView, TheShopNameShowsOnlyWhileTheShopsFirstScreenIsInView)
{
    EnterShop();
    CProductWall& wall = CProductWall::getInstance();
    wall.SetScrollLimit(2000);
    const int screen = wall.Layout().ScreenCount();
    wall.ScrollToIndex(screen);
    m_wnd->RenderScene(GetTickCount());
    EXPECT_TRUE(Window("TopPanel/ShopName")->isVisible()) << "first visible index " << wall.GetFirstVisibleIndex();
    wall.ScrollToIndex(screen * 3);
    m_wnd->RenderScene(GetTickCount());
    EXPECT_FALSE(Window("TopPanel/ShopName")->isVisible()) << "first visible index " << wall.GetFirstVisibleIndex();
    wall.ScrollToIndex(0);
    m_wnd->RenderScene(GetTickCount());
    EXPECT_TRUE(Window("TopPanel/ShopName")->isVisible());
}

TEST_F(TopPanelView, FavouriteShopToggledTwiceIsAsBefore)
{
    EnterShop();
    auto& shops = CTaobaoDataStore::getInstance().favoriteShops;
    const int before = shops.shopCount();
    const char* star = "MotionControl/FavoriteShop";
    EXPECT_EQ(Property(star, "NormalImage"), "FirstPageMore/Start");
    Click(star);
    EXPECT_EQ(shops.shopCount(), before + 1);
    CTaobaoShopItem shop;
    ASSERT_TRUE(shops.copyShop(CTopPanel::getInstance().GetShopNick(), shop));
    EXPECT_EQ(shop.pic_path, CTopPanel::getInstance().GetShopPicturePath());
    EXPECT_EQ(Property(star, "NormalImage"), "FirstPageMore/StartHeight");
    EXPECT_EQ(Property(star, "HoverImage"), "FirstPageMore/StartHeightHover");
    EXPECT_EQ(Property(star, "TooltipText"), "取消收藏此店铺");
    Click(star);
    EXPECT_EQ(shops.shopCount(), before);
    EXPECT_EQ(Property(star, "NormalImage"), "FirstPageMore/Start");
    EXPECT_EQ(Property(star, "PushedImage"), "FirstPageMore/StartHeight");
    EXPECT_EQ(Property(star, "TooltipText"), "收藏此店铺");
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActFavoriteShopAdded), 1u);
}

TEST_F(TopPanelView, FavouriteShopWithoutPictureTakesTheFirstProductsPicture)
{
    EnterShop();
    auto product = std::make_unique<CTaobaoProductInfo>();
    product->num_iid = "1";
    product->pic_url = "http://127.0.0.1:1/first.jpg";
    CTaobaoDataStore::getInstance().products.insertProduct(0, std::move(product));
    std::string nick = "另一家";
    UTF8ToAnsi(nick);
    CTopPanel::getInstance().SetShopHeader(nick, "");
    Click("MotionControl/FavoriteShop");
    CTaobaoShopItem shop;
    ASSERT_TRUE(CTaobaoDataStore::getInstance().favoriteShops.copyShop(nick, shop));
    EXPECT_EQ(shop.pic_path, "http://127.0.0.1:1/first.jpg");
}

TEST_F(TopPanelView, FavouriteShopIsEnteredFromTheFavouriteShopsWall)
{
    std::string nick = "收藏店";
    UTF8ToAnsi(nick);
    CTaobaoDataStore::getInstance().favoriteShops.addFavoriteShop(nick, "http://127.0.0.1:1/logo.jpg");
    Click("BottomPannel/FavoriteBtn");
    Choose("MotionControl/FavoriteShopProduct", 1);
    const int last = CTaobaoDataStore::getInstance().favoriteShops.shopCount() - 1;
    Modes().GetCurrentMode().OnClickProduct(last);
    EXPECT_EQ(Kind(), ModeShop);
    EXPECT_EQ(Record().nicks, "收藏店");
    EXPECT_EQ(CTopPanel::getInstance().GetShopPicturePath(), "http://127.0.0.1:1/logo.jpg");
    EXPECT_EQ(Property("MotionControl/FavoriteShop", "NormalImage"), "FirstPageMore/StartHeight");
}
