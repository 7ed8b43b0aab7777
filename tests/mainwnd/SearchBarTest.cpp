#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "panels/CLeftPanel.h"
#include "platform/VirtualKeys.h"
#include "render/CRenderMsg_User_Completed.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/mainwnd/BrowsingFixture.h"
#include "tests/support/HeadlessGui.h"

using SearchBar = BrowsingFixture;

namespace {

enum SortOrder { PriceDescending = 1, PriceAscending = 2, Credit = 3, Volume = 4, TimeDescending = 5, TimeAscending = 6 };

std::string SelectedText(const CEGUI::Editbox& box)
{
    return CEGuiCompat::FromGui(box.getText().substr(box.getSelectionStartIndex(), box.getSelectionLength()));
}

std::string Image(const char* button, const char* property)
{
    return CEGuiCompat::FromGui(CEGuiCompat::GetWindow(button)->getProperty(property));
}

}

TEST_F(SearchBar, KeywordSearchFromTheRecommendationsEntersTheSearchMode)
{
    const int before = SearchId();
    Search("连衣裙");
    EXPECT_EQ(Kind(), ModeSearch);
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.keyword, "连衣裙");
    EXPECT_EQ(record.sortOrder, Volume);
    EXPECT_TRUE(record.nicks.empty());
    EXPECT_GT(SearchId(), before);
    // The market may already have answered.
    const int notice = CQX_NoticeBoard::getInstance().GetState();
    EXPECT_TRUE(notice == CQX_NoticeBoard::NewBrowse || notice == CQX_NoticeBoard::ResultsPresent) << notice;
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActSearchBar), 1u);
}

TEST_F(SearchBar, EmptySearchBoxIsRefusedWithANotice)
{
    Search("");
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::InputRefused);
    EXPECT_NE(CQX_NoticeBoard::getInstance().GetExpiry(), 0u);
}

TEST_F(SearchBar, SwappedPriceBoxesAreOrdered)
{
    Search("dress");
    Type("SearchDiv/EndPrice", "100");
    Type("SearchDiv/StartPrice", "300");
    PressEnter("SearchDiv/StartPrice");
    EXPECT_EQ(TextOf("SearchDiv/StartPrice"), "100");
    EXPECT_EQ(TextOf("SearchDiv/EndPrice"), "300");
    EXPECT_EQ(Record().startPrice, 100);
    EXPECT_EQ(Record().endPrice, 300);
}

TEST_F(SearchBar, OnlyTheEndPriceLeavesTheStartOpen)
{
    Search("dress");
    Type("SearchDiv/EndPrice", "50");
    PressEnter("SearchDiv/editName");
    const CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    EXPECT_EQ(condition.startPrice, -1);
    EXPECT_EQ(condition.endPrice, 50);
    EXPECT_EQ(TextOf("SearchDiv/StartPrice"), "");
    EXPECT_EQ(TextOf("SearchDiv/EndPrice"), "50");
}

TEST_F(SearchBar, OnlyTheStartPriceClearsTheEndBox)
{
    Search("dress");
    Type("SearchDiv/StartPrice", "abc");
    PressEnter("SearchDiv/editName");
    // Text that is not a number counts as 0.
    EXPECT_EQ(CQX_SearchCondition::getInstance().startPrice, 0);
    EXPECT_EQ(CQX_SearchCondition::getInstance().endPrice, -1);
}

TEST_F(SearchBar, PriceButtonAlternatesAscendingAndDescending)
{
    Search("dress");
    const char* price = "MotionControl/Price";
    Click(price);
    EXPECT_EQ(Record().sortOrder, PriceAscending);
    EXPECT_EQ(Image(price, "NormalImage"), "FirstPage/PriceUp");
    Click(price);
    EXPECT_EQ(Record().sortOrder, PriceDescending);
    EXPECT_EQ(Image(price, "HoverImage"), "FirstPage/PriceDownHighLight");
    Click(price);
    EXPECT_EQ(Record().sortOrder, PriceAscending);
    EXPECT_EQ(Image("MotionControl/Volume", "NormalImage"), "FirstPage/VolumeDownGreyNormal");
    EXPECT_EQ(CQX_SearchCondition::getInstance().sortType, CQX_SearchSnapshot::SortByPrice);
    EXPECT_TRUE(CQX_SearchCondition::getInstance().sortFlag);
}

TEST_F(SearchBar, CreditButtonWhileActiveDoesNothing)
{
    Search("dress");
    Click("MotionControl/Credit");
    EXPECT_EQ(Record().sortOrder, Credit);
    EXPECT_EQ(Image("MotionControl/Credit", "NormalImage"), "FirstPage/CreditHighLight");
    const int id = SearchId();
    Click("MotionControl/Credit");
    EXPECT_EQ(SearchId(), id);
}

TEST_F(SearchBar, TimeButtonAlternatesListingEndDescendingThenAscending)
{
    EnterShop();
    const char* time = "MotionControl/TimeSort";
    Click(time);
    EXPECT_EQ(Record().sortOrder, TimeDescending);
    EXPECT_EQ(Image(time, "NormalImage"), "FirstPage/TimeDownNormal");
    Click(time);
    EXPECT_EQ(Record().sortOrder, TimeAscending);
    EXPECT_EQ(Image(time, "PushedImage"), "FirstPage/TimeUpNormal");
    Click(time);
    EXPECT_EQ(Record().sortOrder, TimeDescending);
}

TEST_F(SearchBar, FilterListSetsTheSearchFlags)
{
    Search("dress");
    Choose("FilterCombo", 0);
    CTaobaoSearchParams record = Record();
    EXPECT_TRUE(record.isMall && record.isPrepay && record.promoted);
    Choose("FilterCombo", 2);
    record = Record();
    EXPECT_FALSE(record.isMall || record.isPrepay || record.promoted);
    Choose("FilterCombo", 1);
    record = Record();
    EXPECT_FALSE(record.isMall);
    EXPECT_TRUE(record.isPrepay && record.promoted);
}

TEST_F(SearchBar, LocationStartsASearchOnlyInTheSearchModes)
{
    // The roam view hides the location list behind the class list; show it
    // as if a location were chosen there.
    Window("MotionControl/Location")->show();
    Window("RecommendClassCombo")->hide();
    const int id = SearchId();
    Choose("MotionControl/Location", 3);
    EXPECT_EQ(Kind(), ModeRoam);
    EXPECT_EQ(SearchId(), id);

    Search("dress");
    Choose("MotionControl/Location", 3);
    EXPECT_EQ(Record().province, "杭州");
    EXPECT_EQ(CQX_SearchCondition::getInstance().location, "杭州");
    Choose("MotionControl/Location", 0);
    EXPECT_EQ(Record().province, "");
}

TEST_F(SearchBar, SearchWithoutTheInShopBoxLeavesTheShopSortedByVolume)
{
    EnterShop();
    ASSERT_EQ(Kind(), ModeShop);
    auto* inShop = static_cast<CEGUI::ToggleButton*>(Window("SearchDiv/SearchInShopOrNot"));
    EXPECT_TRUE(inShop->isSelected());
    Click("SearchDiv/SearchInShopOrNot");
    ASSERT_FALSE(inShop->isSelected());
    Search("shoes");
    EXPECT_EQ(Kind(), ModeSearch);
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.sortOrder, Volume);
    EXPECT_EQ(record.keyword, "shoes");
    EXPECT_TRUE(record.nicks.empty());
}

TEST_F(SearchBar, SearchInsideTheShopKeepsTheShop)
{
    EnterShop();
    Search("shoes");
    EXPECT_EQ(Kind(), ModeShop);
    const CTaobaoSearchParams record = Record();
    EXPECT_EQ(record.nicks, kShopNick);
    EXPECT_EQ(record.keyword, "shoes");
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActSearchInShop), 1u);
}

TEST_F(SearchBar, TheSellerStaysOnTheLeftPanelThroughSearchesInsideTheShop)
{
    EnterShop();
    CLeftPanel& panel = CLeftPanel::getInstance();
    const std::string seller = panel.GetSellerNick();
    ASSERT_FALSE(seller.empty());
    CRenderMsg_User_Completed(SearchId(), kShopNick, "300", 0.995).Process();
    for (int i = 0; i < 2; ++i) {
        if (i == 0)
            Search("shoes");
        else
            Click("SearchDiv/SearchBtn");
        ASSERT_EQ(Kind(), ModeShop);
        EXPECT_EQ(panel.GetSellerNick(), seller);
        EXPECT_EQ(TextOf("LeftPanel/SalerCredit"), "信用：300");
        EXPECT_EQ(TextOf("LeftPanel/SalerReputation"), "好评：99.50%");
        EXPECT_TRUE(Window("LeftPanel/SalerCreditImage")->isVisible());
        EXPECT_EQ(Image("LeftPanel/SalerCreditImage", "Image"), "credit/RedDiam1");
    }
    // A new browse after the shop forgets its seller.
    Click("SearchDiv/SearchInShopOrNot");
    Search("dress");
    EXPECT_EQ(panel.GetSellerNick(), "");
}

// Start-up does not pay for the lists' entries, yet whatever uses a list
// finds it full.
TEST_F(SearchBar, TheListsFillAfterStartUpYetAreFullWheneverUsed)
{
    auto* location = static_cast<CEGUI::Combobox*>(Window("MotionControl/Location"));
    auto* filter = static_cast<CEGUI::Combobox*>(Window("FilterCombo"));
    auto* classes = static_cast<CEGUI::Combobox*>(Window("RecommendClassCombo"));
    EXPECT_EQ(location->getItemCount() + filter->getItemCount() + classes->getItemCount(), 0u);
    EXPECT_FALSE(CEGuiCompat::FromGui(classes->getText()).empty()) << "the first class shows at once";
    const std::string firstClass = CEGuiCompat::FromGui(classes->getText());

    Search("dress");
    EXPECT_GT(location->getItemCount(), 30u);
    EXPECT_EQ(CEGuiCompat::FromGui(filter->getText()), "7天退换");
    EXPECT_EQ(CEGuiCompat::FromGui(location->getText()), "所在地");
    EXPECT_TRUE(classes->getItemCount() > 1 && CEGuiCompat::FromGui(classes->getText()) == firstClass);
}

TEST_F(SearchBar, IdleMomentsFillTheListsAFewEntriesAtATime)
{
    auto* location = static_cast<CEGUI::Combobox*>(Window("MotionControl/Location"));
    auto* classes = static_cast<CEGUI::Combobox*>(Window("RecommendClassCombo"));
    CTopPanel& panel = CTopPanel::getInstance();
    size_t before = 0;
    int calls = 0;
    while (!panel.ContinueSetup() && ++calls < 1000) {
        EXPECT_LE(location->getItemCount() - before, 2u);
        before = location->getItemCount();
    }
    EXPECT_GT(calls, 20);
    EXPECT_LT(calls, 1000);
    EXPECT_GT(classes->getItemCount(), 1u);
    EXPECT_EQ(CEGuiCompat::FromGui(location->getText()), "所在地");
    EXPECT_EQ(CEGuiCompat::FromGui(Window("FilterCombo")->getText()), "淘宝商城");
}

TEST_F(SearchBar, FilterListStartsOnTheMallAndIsResetByTheSimpleSearchView)
{
    auto* filter = static_cast<CEGUI::Combobox*>(Window("FilterCombo"));
    CTopPanel::getInstance().FinishSetup();
    EXPECT_EQ(CEGuiCompat::FromGui(filter->getText()), "淘宝商城");
    Search("dress");
    EXPECT_EQ(CEGuiCompat::FromGui(filter->getText()), "7天退换");
    Choose("FilterCombo", 0);
    EXPECT_EQ(CEGuiCompat::FromGui(filter->getText()), "淘宝商城");
    Modes().SwitchMode(ModeSimpleSearch);
    EXPECT_EQ(CEGuiCompat::FromGui(filter->getText()), "7天退换");
    EXPECT_EQ(Image("MotionControl/Volume", "NormalImage"), "FirstPage/VolumeDownNormal");
    EXPECT_EQ(Image("MotionControl/Credit", "NormalImage"), "FirstPage/Credit");
}

TEST_F(SearchBar, ClipboardCopyCutAndPasteInTheSearchBox)
{
    auto* box = static_cast<CEGUI::Editbox*>(Window("SearchDiv/editName"));
    Type("SearchDiv/editName", "红色连衣裙");
    box->setSelection(0, 2);
    HeadlessGui::Context().injectChar(24);
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "连衣裙");
    EXPECT_EQ(box->getCaretIndex(), 0u);
    box->setCaretIndex(3);
    HeadlessGui::Context().injectChar(22);
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "连衣裙红色");
    EXPECT_EQ(box->getCaretIndex(), 5u);
    box->setSelection(0, 3);
    HeadlessGui::Context().injectChar(3);
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "连衣裙红色");
    box->setSelection(3, 5);
    HeadlessGui::Context().injectChar(22);
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "连衣裙连衣裙");
}

TEST_F(SearchBar, EachBoxSelectsCutsAndPastesFromTheKeyboardAlone)
{
    Search("ab");
    for (const char* name : {"SearchDiv/editName", "SearchDiv/StartPrice", "SearchDiv/EndPrice"}) {
        auto* box = static_cast<CEGUI::Editbox*>(Window(name));
        box->setText("");
        Type(name, "123456");
        HeadlessGui::PressKeys({VK_LSHIFT, VK_HOME});
        EXPECT_EQ(box->getSelectionLength(), 6u) << name;
        HeadlessGui::PressKeys({VK_LCONTROL, 'X'}, 24);
        EXPECT_EQ(TextOf(name), "") << name;
        HeadlessGui::PressKeys({VK_LCONTROL, 'V'}, 22);
        EXPECT_EQ(TextOf(name), "123456") << name;

        // Shift+Left twice from the end, then Delete.
        HeadlessGui::PressKeys({VK_LSHIFT, VK_LEFT});
        HeadlessGui::PressKeys({VK_LSHIFT, VK_LEFT});
        HeadlessGui::PressKeys({VK_DELETE});
        EXPECT_EQ(TextOf(name), "1234") << name;

        HeadlessGui::PressKeys({VK_HOME});
        HeadlessGui::PressKeys({VK_LSHIFT, VK_END});
        HeadlessGui::PressKeys({VK_BACK}, 8);
        EXPECT_EQ(TextOf(name), "") << name;

        HeadlessGui::TypeText("789");
        HeadlessGui::PressKeys({VK_LEFT});
        HeadlessGui::PressKeys({VK_LCONTROL, 'A'}, 1);
        EXPECT_EQ(box->getSelectionLength(), 3u) << name;
        HeadlessGui::TypeText("5");
        EXPECT_EQ(TextOf(name), "5") << name;
    }
}

TEST_F(SearchBar, ADoubleClickSelectsAWord)
{
    auto* box = static_cast<CEGUI::Editbox*>(Window("SearchDiv/editName"));
    Search("ab");
    box->setText("");
    Type("SearchDiv/editName", "red dress");
    // A click elsewhere first, so that the two clicks are not the third and fourth.
    Click("SearchDiv/StartPrice");
    Click("SearchDiv/editName");
    Click("SearchDiv/editName");
    EXPECT_EQ(SelectedText(*box), "dress");
}

TEST_F(SearchBar, PasteKeepsTheBoxOnOneLineAndWithinItsLength)
{
    auto* box = static_cast<CEGUI::Editbox*>(Window("SearchDiv/editName"));
    Click("SearchDiv/editName");
    box->setText(CEGuiCompat::Utf8("a\nb"));
    box->setSelection(0, 3);
    HeadlessGui::Context().injectChar(3);
    box->setText(CEGUI::String(58, 'x'));
    box->setCaretIndex(0);
    HeadlessGui::Context().injectChar(22);
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "a " + std::string(58, 'x'));
}

TEST_F(SearchBar, BackspaceAndTabCharactersNeverEnterTheBoxes)
{
    for (const char* name : {"SearchDiv/editName", "SearchDiv/StartPrice"}) {
        CEGUI::Window* box = Window(name);
        box->show();
        Type(name, "12");
        // The window procedure sends Backspace as a key and then as character 8.
        HeadlessGui::PressKey(CEGUI::Key::Backspace);
        for (CEGUI::String::value_type c : {8, 9, 27})
            HeadlessGui::Context().injectChar(c);
        HeadlessGui::TypeText("3");
        EXPECT_EQ(TextOf(name), "13") << name;
    }
}

TEST_F(SearchBar, CategoryAndPropertyNarrowTheSearchButNotTheHistory)
{
    Search("dress");
    auto& store = CTaobaoDataStore::getInstance();
    store.categories.addCategories({{"16", "x", "0", true}}, {"7"});
    store.properties.setProperties({{"20000", "brand", ""}}, "", "");
    const size_t history = Modes().GetBackList().size();
    const int id = SearchId();

    m_wnd->SearchByCategory("16");
    EXPECT_EQ(Record().cid, "16");
    EXPECT_EQ(Record().keyword, "dress");
    std::vector<const CTaobaoCategory*> children;
    std::vector<std::string> counts;
    store.categories.getChildren("", children, counts);
    EXPECT_EQ(children.size(), 1u);
    std::vector<CTaobaoPropertyEntry> properties;
    store.properties.copyProperties("", properties);
    EXPECT_TRUE(properties.empty());
    EXPECT_EQ(SearchId(), id + 2);
    EXPECT_NE(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::None);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActCategoryChosen), 1u);

    store.properties.setProperties({{"20000", "brand", ""}}, "16", "16");
    m_wnd->SearchByProperty("20000:3");
    EXPECT_EQ(Record().props, "20000:3");
    EXPECT_EQ(Record().cid, "16");
    store.properties.copyProperties("16", properties);
    EXPECT_EQ(properties.size(), 1u);
    children.clear();
    store.categories.getChildren("", children, counts);
    EXPECT_TRUE(children.empty());

    EXPECT_TRUE(CQX_SearchCondition::getInstance().category.empty());
    EXPECT_EQ(Modes().GetBackList().size(), history);
}
