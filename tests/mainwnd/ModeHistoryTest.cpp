#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "scene/CProductWall.h"
#include "service/CQXRecommendCatalogue.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/mainwnd/BrowsingFixture.h"
#include "tests/support/HeadlessGui.h"

using ModeHistory = BrowsingFixture;

namespace {

const char* const kBack = "BottomPannel/RecoverHistoryBtn";
const char* const kForward = "BottomPannel/RedoHistoryBtn";

std::string Keyword(const CQX_ModeManager::History& list, size_t i)
{
    auto it = list.begin();
    std::advance(it, i);
    return (*it)->snapshot.keyword;
}

}

TEST_F(ModeHistory, BackThenForwardReturnsToTheSameSearch)
{
    Search("dress");
    Search("shoes");
    ASSERT_EQ(Modes().GetBackList().size(), 2u);
    EXPECT_EQ(Modes().GetBackList().front()->modeKind, ModeRoam);

    Click(kBack);
    EXPECT_EQ(Kind(), ModeSearch);
    EXPECT_EQ(Record().keyword, "dress");
    EXPECT_EQ(TextOf("SearchDiv/editName"), "dress");
    EXPECT_EQ(Modes().GetBackList().size(), 1u);
    ASSERT_EQ(Modes().GetForwardList().size(), 1u);
    EXPECT_EQ(Keyword(Modes().GetForwardList(), 0), "shoes");
    EXPECT_TRUE(Window(kForward)->isEffectiveVisible() && !Window(kForward)->isDisabled());

    Click(kForward);
    EXPECT_EQ(Record().keyword, "shoes");
    EXPECT_EQ(TextOf("SearchDiv/editName"), "shoes");
    ASSERT_EQ(Modes().GetBackList().size(), 2u);
    EXPECT_EQ(Keyword(Modes().GetBackList(), 1), "dress");
    EXPECT_TRUE(Modes().GetForwardList().empty());
    EXPECT_TRUE(Window(kForward)->isDisabled());
    auto& global = CQX_GlobalVariable::getInstance();
    EXPECT_EQ(global.GetActionCounter(CQX_GlobalVariable::ActHistoryBack), 1u);
    EXPECT_EQ(global.GetActionCounter(CQX_GlobalVariable::ActHistoryForward), 1u);
}

TEST_F(ModeHistory, BackRestoresPricesFilterAndSortOfTheEarlierSearch)
{
    Search("dress");
    Type("SearchDiv/StartPrice", "20");
    Type("SearchDiv/EndPrice", "80");
    PressEnter("SearchDiv/editName");
    Click("MotionControl/Price");
    Search("shoes");
    Click(kBack);
    EXPECT_EQ(TextOf("SearchDiv/StartPrice"), "20");
    EXPECT_EQ(TextOf("SearchDiv/EndPrice"), "80");
    EXPECT_EQ(TextOf("FilterCombo"), "7天退换");
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.startPrice, 20);
    EXPECT_EQ(record.endPrice, 80);
    EXPECT_EQ(record.sortOrder, 2);
}

TEST_F(ModeHistory, TheSameSearchTwiceKeepsOneEntry)
{
    Search("dress");
    Search("dress");
    Search("dress");
    EXPECT_EQ(Modes().GetBackList().size(), 2u);
    // A new sort is not a new search.
    Click("MotionControl/Price");
    Search("dress");
    EXPECT_EQ(Modes().GetBackList().size(), 2u);
}

TEST_F(ModeHistory, HistoryButtonsFollowTheLists)
{
    EXPECT_TRUE(Window(kBack)->isEffectiveVisible());
    EXPECT_TRUE(Window(kBack)->isDisabled());
    EXPECT_TRUE(Window(kForward)->isDisabled());
    Search("dress");
    EXPECT_FALSE(Window(kBack)->isDisabled());
    Click("BottomPannel/TodayBtn");
    EXPECT_FALSE(Window(kBack)->isVisible());
    EXPECT_FALSE(Window(kForward)->isVisible());
}

TEST_F(ModeHistory, FavouritesReopenOnTheShopsAfterTheShopsWereShown)
{
    Click("BottomPannel/FavoriteBtn");
    EXPECT_EQ(Kind(), ModeFavoriteProducts);
    EXPECT_EQ(CTaobaoDataStore::getInstance().getBrowseSource(), CTaobaoDataStore::FavoriteProducts);
    Choose("MotionControl/FavoriteShopProduct", 1);
    EXPECT_EQ(Kind(), ModeFavoriteShops);
    Click("BottomPannel/TodayBtn");
    EXPECT_EQ(Kind(), ModeToday);
    EXPECT_EQ(CTaobaoDataStore::getInstance().getBrowseSource(), CTaobaoDataStore::ViewedToday);
    Click("BottomPannel/FavoriteBtn");
    EXPECT_EQ(Kind(), ModeFavoriteShops);
    EXPECT_EQ(TextOf("MotionControl/FavoriteShopProduct"), "收藏的店铺");
    auto& global = CQX_GlobalVariable::getInstance();
    EXPECT_EQ(global.GetActionCounter(CQX_GlobalVariable::ActFavorites), 2u);
    EXPECT_EQ(global.GetActionCounter(CQX_GlobalVariable::ActToday), 1u);
}

TEST_F(ModeHistory, NoFavouriteShopsShowsItsNotice)
{
    Click("BottomPannel/FavoriteBtn");
    Choose("MotionControl/FavoriteShopProduct", 1);
    EXPECT_EQ(Modes().GetCurrentMode().GetProductCount(), 0);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::NoFavoriteShops);
}

TEST_F(ModeHistory, ModeButtonsDisableTheCurrentMode)
{
    CEGUI::Window* roam = Window("BottomPannel/RoamBtn");
    CEGUI::Window* today = Window("BottomPannel/TodayBtn");
    CEGUI::Window* favorites = Window("BottomPannel/FavoriteBtn");
    EXPECT_TRUE(roam->isDisabled());
    Click("BottomPannel/TodayBtn");
    EXPECT_TRUE(today->isDisabled());
    EXPECT_FALSE(roam->isDisabled() || favorites->isDisabled());
    Click("BottomPannel/FavoriteBtn");
    EXPECT_TRUE(favorites->isDisabled());
    EXPECT_FALSE(roam->isDisabled() || today->isDisabled());
}

TEST_F(ModeHistory, RoamButtonStepsBackOnlyOutsideTheBrowsingModes)
{
    // In the browsing modes the button is disabled; its handler is asked
    // directly, as a click that got through would ask it.
    CEGUI::Window* roam = Window("BottomPannel/RoamBtn");
    const auto pressRoam = [roam] {
        CEGUI::WindowEventArgs args(roam);
        roam->fireEvent(CEGUI::Window::EventMouseClick, args);
    };
    const int start = SearchId();
    EXPECT_TRUE(roam->isDisabled());
    pressRoam();
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(SearchId(), start);

    Search("dress");
    Click("BottomPannel/TodayBtn");
    Search("shoes");
    const int searched = SearchId();
    EXPECT_TRUE(roam->isDisabled());
    pressRoam();
    EXPECT_EQ(Kind(), ModeSearch);
    EXPECT_EQ(SearchId(), searched);
    EXPECT_EQ(Record().keyword, "shoes");

    Click("BottomPannel/TodayBtn");
    ASSERT_FALSE(roam->isDisabled());
    Click("BottomPannel/RoamBtn");
    EXPECT_EQ(Kind(), ModeSearch);
    EXPECT_EQ(Record().keyword, "shoes");
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActRoam), 1u);
}

TEST_F(ModeHistory, ReturnToRecommendationsShowsTheFirstClass)
{
    Choose("RecommendClassCombo", 2);
    EXPECT_EQ(CQXRecommendCatalogue::getInstance().GetCurrentClass(), 2);
    Search("dress");
    Click("MotionControl/ReturnRecommend");
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(CQXRecommendCatalogue::getInstance().GetCurrentClass(), 0);
    EXPECT_EQ(TextOf("RecommendClassCombo"), "全部导购");
    Click(kBack);
    EXPECT_EQ(Kind(), ModeSearch);
    Click(kBack);
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(CQXRecommendCatalogue::getInstance().GetCurrentClass(), 2);
    EXPECT_EQ(TextOf("RecommendClassCombo"), "店铺");
}

TEST_F(ModeHistory, RoamEntryOfAClassThatNoLongerExistsShowsTheFirstClass)
{
    CQX_HistoryEntry entry;
    entry.modeKind = ModeRoam;
    entry.extra = "99";
    Search("dress");
    Modes().RestoreHistory(entry);
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(CQXRecommendCatalogue::getInstance().GetCurrentClass(), 0);
}

TEST_F(ModeHistory, KeywordRecommendationStartsASimpleSearch)
{
    Modes().GetCurrentMode().OnClickProduct(KeywordItem);
    EXPECT_EQ(Kind(), ModeSimpleSearch);
    EXPECT_EQ(TextOf("SearchDiv/editName"), "连衣裙");
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.keyword, "连衣裙");
    EXPECT_EQ(record.startPrice, 100);
    EXPECT_EQ(record.endPrice, 300);
    EXPECT_TRUE(record.isMall);
    EXPECT_EQ(record.sortOrder, 3);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetRecommendationsApplied(), 1u);
}

TEST_F(ModeHistory, RecommendationWithHighPriceBelowLowPriceSetsOnlyTheStart)
{
    Modes().GetCurrentMode().OnClickProduct(SwappedPriceItem);
    EXPECT_EQ(CQX_SearchCondition::getInstance().startPrice, 200);
    EXPECT_EQ(CQX_SearchCondition::getInstance().endPrice, -1);
}

TEST_F(ModeHistory, VolumeRecommendationThroughTheAffiliateSearch)
{
    Modes().GetCurrentMode().OnClickProduct(VolumeItem);
    EXPECT_EQ(CQX_SearchCondition::getInstance().sortType, CQX_SearchSnapshot::SortByVolume);
    EXPECT_EQ(CTaobaoDataStore::getInstance().getBrowseSource(), CTaobaoDataStore::AffiliateSearch);
    EXPECT_EQ(Record().sortOrder, 3);
}

TEST_F(ModeHistory, ShopRecommendationEntersTheShop)
{
    EnterShop();
    EXPECT_EQ(Kind(), ModeShop);
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.nicks, kShopNick);
    EXPECT_EQ(record.sortOrder, 4);
    EXPECT_TRUE(record.keyword.empty());
    EXPECT_EQ(CTopPanel::getInstance().GetShopNick(), CQX_SearchCondition::getInstance().nick);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActShopEntered), 1u);
    Click("MotionControl/ReturnRecommend");
    EXPECT_TRUE(CTopPanel::getInstance().GetShopNick().empty());
    Click(kBack);
    EXPECT_EQ(Kind(), ModeShop);
    EXPECT_EQ(Record().nicks, kShopNick);
    EXPECT_FALSE(CTopPanel::getInstance().GetShopPicturePath().empty());
}

TEST_F(ModeHistory, LinkRecommendationOpensThePage)
{
    Modes().GetCurrentMode().OnClickProduct(LinkItem);
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::OpeningWebPage);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetPagesOpened(), 1u);
}

TEST_F(ModeHistory, ReturnButtonAnswersEnterOnly)
{
    Search("dress");
    Window("MotionControl/ReturnRecommend")->activate();
    HeadlessGui::TypeText(" a");
    EXPECT_EQ(Kind(), ModeSearch);
    HeadlessGui::Context().injectChar(13);
    EXPECT_EQ(Kind(), ModeRoam);
}

TEST_F(ModeHistory, AnotherSearchInTheSameModeEmptiesTheWall)
{
    Search("dress");
    CProductWall& wall = CProductWall::getInstance();
    ASSERT_TRUE(wall.AddRecommendCard(5, TexturePtr(), TexturePtr()));
    Search("shoes");
    EXPECT_FALSE(wall.HasCard(5));
    EXPECT_EQ(wall.GetFirstVisibleIndex(), 0);
}
