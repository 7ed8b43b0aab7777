#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "service/CQXRecommendCatalogue.h"
#include "panels/CLeftPanel.h"
#include "render/CRenderMsg_CategoriesComplete.h"
#include "render/CRenderMsg_PropertiesComplete.h"
#include "render/CRenderMsg_Shop_Completed.h"
#include "render/CRenderMsg_User_Completed.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"
#include "tests/support/HeadlessGui.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kSearchMode = 0;
constexpr int kShopMode = 6;

std::string Ansi(const std::string& utf8)
{
    std::string text = utf8;
    UTF8ToAnsi(text);
    return text;
}

CEGUI::Window* Widget(const char* name)
{
    return CEGuiCompat::GetWindow(name);
}

std::string Property(const char* window, const char* property)
{
    return CEGuiCompat::FromGui(Widget(window)->getProperty(property));
}

std::string Text(const char* window)
{
    return CEGuiCompat::FromGui(Widget(window)->getText());
}

// The tree keeps its top-level items to itself; a member pointer taken
// through a derived class reads them in their display order.
struct TreeItems : CEGUI::Tree
{
    static const std::vector<CEGUI::TreeItem*>& Of(CEGUI::Tree* tree) { return tree->*(&TreeItems::d_listItems); }
};

CEGUI::TreeItem* TopLevelItem(CEGUI::Tree* tree, size_t index)
{
    return TreeItems::Of(tree).at(index);
}

std::vector<std::string> TopLevelTexts(CEGUI::Tree* tree)
{
    std::vector<std::string> texts;
    for (CEGUI::TreeItem* item : TreeItems::Of(tree))
        texts.push_back(CEGuiCompat::FromGui(item->getText()));
    return texts;
}

void Choose(CKeyedTree& tree, CEGUI::TreeItem* item)
{
    CEGUI::TreeEventArgs args(tree.Tree());
    args.treeItem = item;
    tree.Tree()->fireEvent(CEGUI::Tree::EventSelectionChanged, args, CEGUI::Tree::EventNamespace);
}

class LeftPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessGui::LoadMainLayout();
        HeadlessGui::Context().setMouseButtonMultiClickTimeout(1e-9);
        CQX_GlobalVariable::getInstance().SetCurrentModeId(kSearchMode);
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::ResultsPresent);
        CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
        store.resetBrowseData(0);
        store.setSearch(CTaobaoSearchParams());
        panel.Initialise(nullptr);
        panel.Reset();
        panel.Expand();
    }

    void AddCategories(const std::vector<std::pair<std::string, std::string>>& namesAndCounts,
                       const std::string& parent = "0")
    {
        std::vector<CTaobaoCategory> records;
        std::vector<std::string> counts;
        for (const auto& entry : namesAndCounts) {
            records.push_back({std::to_string((parent == "0" ? 1000 : 2000) + records.size()), Ansi(entry.first), parent});
            counts.push_back(entry.second);
        }
        CTaobaoDataStore::getInstance().categories.addCategories(records, counts);
    }

    void SetSearchCategory(const std::string& cid)
    {
        CTaobaoSearchParams search;
        search.cid = cid;
        CTaobaoDataStore::getInstance().setSearch(search);
    }

    CLeftPanel& panel = CLeftPanel::getInstance();
};

// The panel as the main window sets it up, so choosing starts real searches.
class LeftPanelSearchTest : public LeftPanelTest
{
protected:
    void SetUp() override
    {
        HeadlessGui::Start();
        CQXRecommendCatalogue::getInstance().FinishUpdate(false);
        mainWnd.InitialiseSample();
        CQX_GlobalVariable::getInstance().SetCurrentModeId(kSearchMode);
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::ResultsPresent);
        CTaobaoDataStore::getInstance().resetBrowseData(0);
        CTaobaoDataStore::getInstance().setSearch(CTaobaoSearchParams());
    }

    CQX_MainWnd mainWnd;
};

}

TEST_F(LeftPanelTest, CategoriesAreOrderedByCountWithTiesInArrivalOrder)
{
    AddCategories({{"五件", "5"}, {"十二甲", "12"}, {"十二乙", "12"}, {"三件", "3"}});
    CRenderMsg_CategoriesComplete(CQX_GlobalVariable::getInstance().GetSearchID()).Process();
    EXPECT_EQ(TopLevelTexts(panel.CategoryTree().Tree()),
              (std::vector<std::string>{"十二甲", "十二乙", "五件", "三件"}));
    EXPECT_TRUE(Widget("SearchDiv/LeftPanel")->isVisible());
    EXPECT_TRUE(panel.CategoryTree().Tree()->isVisible());
    CEGUI::TreeItem* first = TopLevelItem(panel.CategoryTree().Tree(), 0);
    EXPECT_EQ(panel.CategoryTree().KeyOf(first), "1001");
    EXPECT_EQ(CEGuiCompat::FromGui(first->getTooltipText()), "十二甲");

    // Children are added once, below the chosen category.
    Choose(panel.CategoryTree(), first);
    SetSearchCategory("1001");
    AddCategories({{"子类", "9"}}, "1001");
    panel.BuildCategoryTree();
    panel.BuildCategoryTree();
    ASSERT_EQ(first->getItemCount(), 1u);
    EXPECT_TRUE(first->getIsOpen());
    EXPECT_EQ(TopLevelTexts(panel.CategoryTree().Tree()).size(), 4u);
}

TEST_F(LeftPanelTest, CategoriesOutsideTheKeywordSearchAreIgnored)
{
    AddCategories({{"五件", "5"}});
    CQX_GlobalVariable::getInstance().SetCurrentModeId(1);
    panel.BuildCategoryTree();
    EXPECT_TRUE(panel.CategoryTree().IsEmpty());
    EXPECT_FALSE(Widget("SearchDiv/LeftPanel")->isVisible());
}

TEST_F(LeftPanelTest, TheBrandPropertyBecomesTheFirstHeader)
{
    SetSearchCategory("50");
    const std::vector<CTaobaoPropertyEntry> entries = {
        {"20", Ansi("颜色"), ""},  {"30", Ansi("品牌"), "30"}, {"1", Ansi("红色"), "20"},
        {"2", Ansi("耐克"), "30"}, {"3", Ansi("孤儿"), "99"},  {"40", Ansi("尺码"), ""},
    };
    CTaobaoDataStore::getInstance().properties.setProperties(entries, "50", "50");
    CRenderMsg_PropertiesComplete(CQX_GlobalVariable::getInstance().GetSearchID()).Process();
    CEGUI::Tree* tree = panel.PropertyTree().Tree();
    ASSERT_EQ(TopLevelTexts(tree), (std::vector<std::string>{"品牌", "颜色", "尺码"}));
    CEGUI::TreeItem* brand = TopLevelItem(tree, 0);
    EXPECT_EQ(panel.PropertyTree().KeyOf(brand), "");
    ASSERT_EQ(brand->getItemCount(), 1u);
    EXPECT_EQ(panel.PropertyTree().KeyOf(brand->getTreeItemFromIndex(0)), "30:2");
    EXPECT_EQ(TopLevelItem(tree, 1)->getItemCount(), 1u);
    EXPECT_EQ(TopLevelItem(tree, 2)->getItemCount(), 0u);

    // A header opens and closes; choosing it starts no search.
    Choose(panel.PropertyTree(), brand);
    EXPECT_TRUE(brand->getIsOpen());
    EXPECT_EQ(panel.PropertyTree().Selected(), nullptr);
    Choose(panel.PropertyTree(), brand);
    EXPECT_FALSE(brand->getIsOpen());
}

TEST_F(LeftPanelSearchTest, ReChoosingTheActiveCategorySearchesOnlyUnderAFailureOrEmptyNotice)
{
    AddCategories({{"甲", "5"}, {"乙", "3"}});
    panel.BuildCategoryTree();
    CEGUI::TreeItem* first = TopLevelItem(panel.CategoryTree().Tree(), 0);
    Choose(panel.CategoryTree(), first);
    EXPECT_EQ(panel.CategoryTree().Selected(), first);

    EXPECT_EQ(CTaobaoDataStore::getInstance().copyCategoryId(), "1000");

    // Each search of the category starts a new browse with a new search id.
    CTaobaoDataStore::getInstance().properties.setProperties({{"20", Ansi("颜色"), ""}}, "1000", "1000");
    panel.BuildPropertyTree();
    ASSERT_FALSE(panel.PropertyTree().IsEmpty());
    const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
    Choose(panel.CategoryTree(), first);
    EXPECT_FALSE(panel.PropertyTree().IsEmpty());
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetSearchID(), searchId);

    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NoSearchResult);
    Choose(panel.CategoryTree(), first);
    EXPECT_TRUE(panel.PropertyTree().IsEmpty());
    EXPECT_EQ(panel.CategoryTree().Selected(), first);
    EXPECT_GT(CQX_GlobalVariable::getInstance().GetSearchID(), searchId);

    Choose(panel.CategoryTree(), nullptr);
    EXPECT_EQ(panel.CategoryTree().Selected(), first);
}

TEST_F(LeftPanelTest, CollapseAndExpandLooks)
{
    EXPECT_TRUE(panel.IsExpanded());
    EXPECT_EQ(Property("SearchDiv/LeftPanel", "Area"), "{{0,0},{0,43},{0,235},{1,-43}}");
    EXPECT_EQ(Property("SearchDiv/LeftPanel", "Image"), "size/LeftPanelBK");
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "TooltipText"), "单击收缩商品分类");

    Widget("SearchDiv/LeftPanel")->show();
    HeadlessGui::Click(Widget("LeftPanel/OpenCloseTree"));
    EXPECT_FALSE(panel.IsExpanded());
    EXPECT_EQ(Property("SearchDiv/LeftPanel", "Area"), "{{0,0},{0,45},{0,116},{0,111}}");
    EXPECT_EQ(Property("SearchDiv/LeftPanel", "Image"), "");
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "NormalImage"), "size/LeftPanelExpandBtn");
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "HoverImage"), "FirstPageMore/LeftPanelExpandBtnHighLight");
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "TooltipText"), "");
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "Area"), "{{0,0},{0,0},{0,116},{0,28}}");
    EXPECT_FALSE(Widget("LeftPanel/SplitLine")->isVisible());
    EXPECT_TRUE(Widget("LeftPanel/ShrinkBottom")->isVisible());
    EXPECT_FALSE(Widget("LeftPanel/CategoryTree")->isVisible());

    panel.Collapse();
    EXPECT_FALSE(panel.IsExpanded());
    EXPECT_EQ(Property("SearchDiv/LeftPanel", "Area"), "{{0,0},{0,45},{0,116},{0,111}}");

    // Hovering the collapsed button opens the panel; a click then closes it.
    HeadlessGui::Context().injectMousePosition(0, 0);
    const CEGUI::Rectf button = Widget("LeftPanel/OpenCloseTree")->getUnclippedOuterRect().get();
    HeadlessGui::Context().injectMousePosition(button.left() + 20, button.top() + 10);
    EXPECT_TRUE(panel.IsExpanded());
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "NormalImage"), "size/LeftPanelShrinkBtn");
    EXPECT_TRUE(Widget("LeftPanel/CategoryTree")->isVisible());
    HeadlessGui::Click(Widget("LeftPanel/OpenCloseTree"));
    EXPECT_FALSE(panel.IsExpanded());

    HeadlessGui::Click(Widget("LeftPanel/ShrinkBottom"));
    EXPECT_TRUE(panel.IsExpanded());

    // Expanding puts the panel behind the search bar's controls, and the
    // search bar stays above the top bar it lies on.
    EXPECT_TRUE(Widget("SearchDiv/LeftPanel")->isBehind(*Widget("SearchDiv/editName")));
    EXPECT_TRUE(Widget("SearchDiv")->isInFront(*Widget("TopPannel")));
}

TEST_F(LeftPanelTest, SellerOfAShopWaitsForTheCollapsedPanelToExpand)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(kShopMode);
    panel.Collapse();
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "NormalImage"), "PlayStop/LeftPanelExpandShopBtn");
    panel.SetSeller(Ansi("小店"), "300", 99.5);
    EXPECT_TRUE(Widget("SearchDiv/LeftPanel")->isVisible());
    EXPECT_EQ(Text("LeftPanel/SalerName"), "卖家：小店");
    EXPECT_EQ(Text("LeftPanel/SalerCredit"), "信用：300");
    EXPECT_EQ(Text("LeftPanel/SalerReputation"), "好评：99.50%");
    for (const char* name : {"LeftPanel/SalerName", "LeftPanel/SalerCredit", "LeftPanel/SalerReputation",
                             "LeftPanel/SalerCreditImage", "LeftPanel/bulletin"})
        EXPECT_FALSE(Widget(name)->isVisible()) << name;

    CTaobaoShopItem shop;
    shop.nick = Ansi("小店");
    shop.bulletin = "<p>全场包邮&amp;七天退换</p>";
    CRenderMsg_Shop_Completed(CQX_GlobalVariable::getInstance().GetSearchID(), shop).Process();
    EXPECT_EQ(Text("LeftPanel/bulletin"), "店铺公告: 全场包邮&七天退换");

    panel.Expand();
    EXPECT_EQ(Property("LeftPanel/OpenCloseTree", "TooltipText"), "单击收缩店铺详情");
    for (const char* name : {"LeftPanel/SalerName", "LeftPanel/SalerCredit", "LeftPanel/SalerReputation",
                             "LeftPanel/SalerCreditImage", "LeftPanel/bulletin"})
        EXPECT_TRUE(Widget(name)->isVisible()) << name;
    EXPECT_EQ(Property("LeftPanel/SalerCreditImage", "Image"), "credit/RedDiam1");
    EXPECT_FALSE(Widget("LeftPanel/CategoryTree")->isVisible());
}

TEST_F(LeftPanelTest, SellerAnswersUpdateOnlyTheSellerOnShow)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(kShopMode);
    panel.SetSeller(Ansi("小店"), "", 0);
    EXPECT_FALSE(Widget("LeftPanel/SalerCreditImage")->isVisible());
    CRenderMsg_User_Completed(-5, "别家", "9999", 0.5).Process();
    EXPECT_EQ(Text("LeftPanel/SalerCredit"), "信用：");
    CRenderMsg_User_Completed(-5, "小店", "2", 0.98).Process();
    EXPECT_EQ(Text("LeftPanel/SalerCredit"), "信用：2");
    EXPECT_EQ(Text("LeftPanel/SalerReputation"), "好评：98.00%");
    EXPECT_FALSE(Widget("LeftPanel/SalerCreditImage")->isVisible());

    panel.Reset();
    EXPECT_EQ(panel.GetSellerNick(), "");
    EXPECT_FALSE(panel.IsExpanded());
}

TEST_F(LeftPanelSearchTest, ChoosingAPropertyValueNarrowsTheSearchToIt)
{
    SetSearchCategory("50");
    CTaobaoDataStore::getInstance().properties.setProperties(
        {{"30", Ansi("品牌"), ""}, {"2", Ansi("耐克"), "30"}}, "50", "50");
    panel.BuildPropertyTree();
    CEGUI::TreeItem* value = TopLevelItem(panel.PropertyTree().Tree(), 0)->getTreeItemFromIndex(0);
    Choose(panel.PropertyTree(), value);
    EXPECT_EQ(CTaobaoDataStore::getInstance().copySearch().props, "30:2");
    EXPECT_EQ(CTaobaoDataStore::getInstance().copyCategoryId(), "50");
    EXPECT_EQ(panel.PropertyTree().Selected(), value);
}
