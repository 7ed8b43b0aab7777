#include "mainwnd/CTopPanel.h"

#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_ComboList.h"
#include "mainwnd/CQX_EditClipboard.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "panels/CButtonLooks.h"
#include "panels/CLeftPanel.h"
#include "platform/Ticks.h"
#include "service/CQXRecommendCatalogue.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"

#include <cstdlib>

namespace {

const uint32_t kRefusedInputNoticeMs = 4000;
const CEGUI::String::value_type kEnter = 13;

const std::vector<std::string> kLocations = {
    "所在地", "北京", "上海", "杭州", "广州", "深圳", "南京", "武汉", "天津", "成都", "哈尔滨", "重庆",
    "宁波", "无锡", "济南", "苏州", "温州", "青岛", "沈阳", "福州", "西安", "长沙", "合肥", "南宁",
    "南昌", "郑州", "厦门", "大连", "常州", "石家庄", "东莞", "安徽", "福建", "甘肃", "广东", "广西",
    "贵州", "海南", "河北", "黑龙江", "河南", "湖北", "湖南", "江苏", "江西", "吉林", "辽宁", "内蒙古",
    "宁夏", "青海", "山东", "山西", "陕西", "四川", "新疆", "西藏", "云南", "浙江"};

// Entry ids of the filter list.
enum Filter
{
    FilterMall = 0,
    FilterReturns = 1,
    FilterAll = 2,
};
const std::vector<std::string> kFilters = {"淘宝商城", "7天退换", "所有商品"};

enum FavoritesEntry
{
    FavoriteProductsEntry = 0,
    FavoriteShopsEntry = 1,
};
const std::vector<std::string> kFavoritesSwitch = {"收藏的商品", "收藏的店铺"};

// Which top-bar widgets each mode's view shows, by view: search, simple
// search, today, favourite products, favourite shops, roam, shop.
struct ViewRow
{
    const char* windows[4];
    const char* shown;
};

const ViewRow kViews[] = {
    {{"SearchDiv/SearchNotice"}, "0111110"},
    {{"SearchDiv/StartPrice", "SearchDiv/EndPrice", "SearchDiv/PriceText1", "SearchDiv/PriceText2"}, "1000001"},
    {{"MotionControl/Credit"}, "1011000"},
    {{"MotionControl/Price"}, "1011001"},
    {{"MotionControl/Volume"}, "1000001"},
    {{"MotionControl/TimeSort"}, "0000001"},
    {{"MotionControl/Location"}, "1000000"},
    {{"FilterCombo"}, "1000000"},
    {{"MotionControl/ReturnRecommend"}, "1111101"},
    {{"MotionControl/FavoriteShop"}, "0000001"},
    {{"MotionControl/FavoriteShopProduct"}, "0001100"},
    {{"BottomPannel/RedoHistoryBtn", "BottomPannel/RecoverHistoryBtn"}, "1100011"},
    {{"SearchDiv/SearchInShopOrNot"}, "0000001"},
    {{"TopPanel/ShopName"}, "0000001"},
    {{"RecommendClassCombo"}, "0000010"},
};

// The column of a mode in the view table, -1 for the unknown mode.
int ViewColumn(int modeKind)
{
    switch (modeKind) {
    case ModeSearch: return 0;
    case ModeSimpleSearch: return 1;
    case ModeToday: return 2;
    case ModeFavoriteProducts: return 3;
    case ModeFavoriteShops: return 4;
    case ModeRoam: return 5;
    case ModeShop: return 6;
    default: return -1;
    }
}

bool HasHistory(int modeKind)
{
    return modeKind == ModeSearch || modeKind == ModeSimpleSearch || modeKind == ModeRoam || modeKind == ModeShop;
}

template <typename Widget>
Widget* Find(const char* name)
{
    return static_cast<Widget*>(CEGuiCompat::GetWindow(name));
}

std::string Text(const CEGUI::Window* window)
{
    return CEGuiCompat::FromGui(window->getText());
}

void SetText(CEGUI::Window* window, const std::string& utf8)
{
    window->setText(CEGuiCompat::Utf8(utf8));
}

void SetPriceBox(CEGUI::Window* box, bool show, int price)
{
    SetText(box, show ? std::to_string(price) : std::string());
}

CEGUI::String::value_type CharacterOf(const CEGUI::EventArgs& e)
{
    return static_cast<const CEGUI::KeyEventArgs&>(e).codepoint;
}

// Backspace, Tab and Escape also arrive as characters; a font with glyphs
// for control characters would otherwise put them into the text.
bool IsControlCharacter(CEGUI::String::value_type character)
{
    return character < 0x20 || character == 0x7f;
}

template <typename Handler>
void Subscribe(CEGUI::Window* window, const CEGUI::String& event, Handler handler, CTopPanel* panel)
{
    window->subscribeEvent(event, CEGUI::Event::Subscriber(handler, panel));
}

std::string ToUtf8(std::string text)
{
    AnsiToUTF8(text);
    return text;
}

CQX_ModeManager& Modes()
{
    return CQX_ModeManager::getInstance();
}

CQX_SearchCondition& Condition()
{
    return CQX_SearchCondition::getInstance();
}

}

CTopPanel& CTopPanel::getInstance()
{
    static CTopPanel instance;
    return instance;
}

void CTopPanel::Initialise(CQX_MainWnd* owner)
{
    m_owner = owner;
    m_searchBox = Find<CEGUI::Editbox>("SearchDiv/editName");
    m_searchButton = Find<CEGUI::Window>("SearchDiv/SearchBtn");
    m_startPrice = Find<CEGUI::Editbox>("SearchDiv/StartPrice");
    m_endPrice = Find<CEGUI::Editbox>("SearchDiv/EndPrice");
    m_location = Find<CEGUI::Combobox>("MotionControl/Location");
    m_filter = Find<CEGUI::Combobox>("FilterCombo");
    m_inShop = Find<CEGUI::ToggleButton>("SearchDiv/SearchInShopOrNot");
    m_returnRecommend = Find<CEGUI::Window>("MotionControl/ReturnRecommend");
    m_favoriteShop = Find<CEGUI::Window>("MotionControl/FavoriteShop");
    m_favoritesSwitch = Find<CEGUI::Combobox>("MotionControl/FavoriteShopProduct");
    m_historyForward = Find<CEGUI::Window>("BottomPannel/RedoHistoryBtn");
    m_historyBack = Find<CEGUI::Window>("BottomPannel/RecoverHistoryBtn");
    m_shopName = Find<CEGUI::Window>("TopPanel/ShopName");
    m_classList = Find<CEGUI::Combobox>("RecommendClassCombo");
    m_sortButtons.Attach();
    SubscribeHandlers();
    CSearchBarTarget::Set(this);
}

void CTopPanel::SubscribeHandlers()
{
    using W = CEGUI::Window;
    Subscribe(m_searchButton, CEGUI::PushButton::EventClicked, &CTopPanel::OnSearchButton, this);
    Subscribe(m_searchBox, W::EventCharacterKey, &CTopPanel::OnSearchBoxCharacter, this);
    Subscribe(m_startPrice, W::EventCharacterKey, &CTopPanel::OnPriceBoxCharacter, this);
    Subscribe(m_endPrice, W::EventCharacterKey, &CTopPanel::OnPriceBoxCharacter, this);
    Subscribe(m_sortButtons.GetButton(CQX_SortButtons::Credit), W::EventMouseClick, &CTopPanel::OnCreditClick, this);
    Subscribe(m_sortButtons.GetButton(CQX_SortButtons::Price), W::EventMouseClick, &CTopPanel::OnPriceClick, this);
    Subscribe(m_sortButtons.GetButton(CQX_SortButtons::Volume), W::EventMouseClick, &CTopPanel::OnVolumeClick, this);
    Subscribe(m_sortButtons.GetButton(CQX_SortButtons::Time), W::EventMouseClick, &CTopPanel::OnTimeClick, this);
    Subscribe(m_historyBack, W::EventMouseClick, &CTopPanel::OnHistoryBack, this);
    Subscribe(m_historyForward, W::EventMouseClick, &CTopPanel::OnHistoryForward, this);
    for (CEGUI::Combobox* list : {m_location, m_filter, m_classList})
        Subscribe(list, CEGUI::Combobox::EventDropListDisplayed, &CTopPanel::OnListDropping, this);
    Subscribe(m_returnRecommend, W::EventMouseClick, &CTopPanel::OnReturnRecommend, this);
    Subscribe(m_returnRecommend, W::EventCharacterKey, &CTopPanel::OnReturnRecommendKey, this);
    Subscribe(m_favoritesSwitch, CEGUI::Combobox::EventListSelectionAccepted, &CTopPanel::OnFavoritesSwitch, this);
    Subscribe(m_favoriteShop, W::EventMouseClick, &CTopPanel::OnFavoriteShopToggle, this);
}

void CTopPanel::BeginSetup()
{
    m_setupBegun = true;
}

CTopPanel::EntryList CTopPanel::EntryListOf(Entries which)
{
    switch (which) {
    case LocationEntries: return {m_location, &kLocations, &CTopPanel::OnLocationAccepted, 0};
    case FilterEntries: return {m_filter, &kFilters, &CTopPanel::OnFilterAccepted, FilterMall};
    default: return {m_classList, &m_classNames, &CTopPanel::OnClassAccepted, 0};
    }
}

bool CTopPanel::ContinueSetup()
{
    constexpr size_t kEntriesAtATime = 2;
    for (Entries which : {LocationEntries, FilterEntries, ClassEntries})
        if (!FillEntries(which, kEntriesAtATime))
            return false;
    return true;
}

void CTopPanel::FinishSetup()
{
    BeginSetup();
    for (Entries which : {LocationEntries, FilterEntries, ClassEntries})
        FillEntries(which, SIZE_MAX);
}

// A list takes its first selection once full.
bool CTopPanel::FillEntries(Entries which, size_t maxEntries)
{
    const EntryList list = EntryListOf(which);
    const bool wasFull = list.box->getItemCount() >= list.texts->size();
    if (wasFull || !CQX_ComboList::Fill(list.box, *list.texts, maxEntries))
        return wasFull;
    Subscribe(list.box, CEGUI::Combobox::EventListSelectionAccepted, list.onAccepted, this);
    CQX_ComboList::Select(list.box, list.firstSelection);
    return true;
}

CEGUI::Combobox* CTopPanel::Full(Entries which)
{
    if (m_setupBegun)
        FillEntries(which, SIZE_MAX);
    return EntryListOf(which).box;
}

// The class list is in view from the start, but its entries only when it
// drops down: its first entry is shown at once and the list filled later.
void CTopPanel::ApplyCatalogue()
{
    if (m_classNames.empty()) {
        CQXRecommendCatalogue::getInstance().GetClassNames(m_classNames);
        for (std::string& name : m_classNames)
            AnsiToUTF8(name);
    }
    if (m_classList->getItemCount() >= m_classNames.size())
        CQX_ComboList::Select(m_classList, 0);
    else if (CQX_ComboList::SelectedId(m_classList) < 0 && !m_classNames.empty())
        m_classList->setText(CEGuiCompat::Utf8(m_classNames.front()));
}

bool CTopPanel::OnListDropping(const CEGUI::EventArgs&)
{
    FinishSetup();
    return false;
}

void CTopPanel::SelectClass(int classId)
{
    if (m_classList)
        CQX_ComboList::Select(Full(ClassEntries), classId);
}

void CTopPanel::StartSearch()
{
    const std::string keyword = Text(m_searchBox);
    const int kind = Modes().GetCurrentKind();
    const bool inShop = IsSearchInShop();
    auto& global = CQX_GlobalVariable::getInstance();
    if (inShop) {
        global.IncAction(CQX_GlobalVariable::ActSearchInShop);
    } else {
        if (kind == ModeShop || kind == ModeSimpleSearch || kind == ModeRoam) {
            Condition().SetSort(CQX_SearchSnapshot::SortByVolume, false);
            ResetFilters();
        }
        if (keyword.empty()) {
            CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::InputRefused,
                                                    GetTickCount() + kRefusedInputNoticeMs);
            return;
        }
        Modes().SwitchMode(ModeSearch);
        CLeftPanel::getInstance().Collapse();
        global.IncAction(CQX_GlobalVariable::ActSearchBar);
    }
    CQX_SearchCondition& condition = Condition();
    ReadPriceRange(condition.startPrice, condition.endPrice);
    condition.keyword = keyword;
    CEGUI::Combobox* locations = Full(LocationEntries);
    condition.location = CQX_ComboList::SelectedId(locations) > 0 ? CQX_ComboList::SelectedText(locations) : "";
    ApplyFilter();
    condition.DoSearch(0);
    if (m_inShop->isSelected())
        CLeftPanel::getInstance().Expand();
}

void CTopPanel::ReadPriceRange(int& start, int& end)
{
    const std::string startText = Text(m_startPrice);
    const std::string endText = Text(m_endPrice);
    start = startText.empty() ? -1 : std::atoi(startText.c_str());
    end = endText.empty() ? -1 : std::atoi(endText.c_str());
    if (!startText.empty() && !endText.empty()) {
        if (end < start) {
            std::swap(start, end);
            SetPriceBoxes(true, start, true, end);
        }
    } else if (!startText.empty()) {
        SetText(m_endPrice, "");
    } else if (!endText.empty()) {
        SetText(m_startPrice, "");
    }
}

void CTopPanel::SetPriceBoxes(bool showStart, int start, bool showEnd, int end)
{
    SetPriceBox(m_startPrice, showStart && start >= 0, start);
    SetPriceBox(m_endPrice, showEnd && end > 0, end);
}

void CTopPanel::SelectLocation(const std::string& text)
{
    if (text.empty())
        CQX_ComboList::Select(Full(LocationEntries), 0);
    else
        CQX_ComboList::SelectText(Full(LocationEntries), text);
}

bool CTopPanel::ApplyFilter()
{
    CQX_SearchCondition& condition = Condition();
    if (Modes().GetCurrentKind() != ModeSearch) {
        condition.mall = condition.prepay = condition.guarantee = condition.affiliate = false;
        return false;
    }
    const int id = CQX_ComboList::SelectedId(Full(FilterEntries));
    if (id < FilterMall || id > FilterAll)
        return false;
    condition.mall = id == FilterMall;
    condition.prepay = condition.guarantee = id != FilterAll;
    condition.affiliate = false;
    return true;
}

void CTopPanel::ResetFilters()
{
    if (!m_location || !m_sortButtons.IsAttached() || !m_startPrice || !m_endPrice)
        return;
    CQX_ComboList::Select(Full(LocationEntries), 0);
    CQX_ComboList::Select(Full(FilterEntries), FilterReturns);
    m_sortButtons.ShowOnly(CQX_SortButtons::Volume, CQX_SortButtons::VolumeActive);
    SetText(m_startPrice, "");
    SetText(m_endPrice, "");
}

void CTopPanel::ShowSortButtons(int type, bool flag)
{
    m_sortButtons.ShowSort(type, flag);
}

void CTopPanel::SetKeywordText(const std::string& utf8)
{
    SetText(m_searchBox, utf8);
}

void CTopPanel::ShowCondition(const CQX_SearchSnapshot& snapshot)
{
    SetKeywordText(snapshot.keyword);
    SetPriceBoxes(true, snapshot.startPrice, true, snapshot.endPrice);
    SelectLocation(snapshot.location);
    const int filter = snapshot.mall ? FilterMall : snapshot.guarantee ? FilterReturns : FilterAll;
    CQX_ComboList::Select(Full(FilterEntries), filter);
    ShowSortButtons(snapshot.sortType, snapshot.sortFlag);
}

bool CTopPanel::IsEditActive() const
{
    return (m_searchBox && m_searchBox->isActive()) || (m_startPrice && m_startPrice->isActive()) ||
           (m_endPrice && m_endPrice->isActive());
}

void CTopPanel::ShowModeView(int modeKind)
{
    // The lists are seen only away from the roaming wall.
    if (modeKind != ModeRoam)
        FinishSetup();
    SetVisibility(modeKind);
    switch (modeKind) {
    case ModeSimpleSearch: ResetFilters(); break;
    case ModeFavoriteProducts: ShowFavoritesSwitch(FavoriteProductsEntry); break;
    case ModeFavoriteShops: ShowFavoritesSwitch(FavoriteShopsEntry); break;
    case ModeRoam:
        ResetFilters();
        SetKeywordText("");
        m_shopNick.clear();
        m_shopPicturePath.clear();
        UpdateShopHeader();
        break;
    case ModeShop:
        ResetFilters();
        UpdateShopHeader();
        m_inShop->setSelected(true);
        SetShopName("");
        break;
    default: break;
    }
    UpdateHistoryButtons();
}

void CTopPanel::SetVisibility(int modeKind)
{
    const int column = ViewColumn(modeKind);
    if (column < 0)
        return;
    for (const ViewRow& row : kViews)
        for (const char* name : row.windows)
            if (name)
                CEGuiCompat::GetWindow(name)->setVisible(row.shown[column] == '1');
}

void CTopPanel::ShowFavoritesSwitch(int entry)
{
    if (m_favoritesSwitch->getItemCount() == 0)
        CQX_ComboList::Fill(m_favoritesSwitch, kFavoritesSwitch);
    CQX_ComboList::Select(m_favoritesSwitch, entry);
}

void CTopPanel::UpdateHistoryButtons()
{
    if (!m_historyBack)
        return;
    CQX_ModeManager& modes = Modes();
    const bool shown = HasHistory(modes.GetCurrentKind());
    m_historyBack->setVisible(shown);
    m_historyForward->setVisible(shown);
    if (!shown)
        return;
    m_historyBack->setEnabled(!modes.GetBackList().empty());
    m_historyForward->setEnabled(!modes.GetForwardList().empty());
}

void CTopPanel::SetShopHeader(const std::string& nick, const std::string& picturePath)
{
    m_shopNick = nick;
    m_shopPicturePath = picturePath;
    UpdateShopHeader();
}

void CTopPanel::UpdateShopHeader()
{
    if (!m_favoriteShop)
        return;
    static const CButtonLooks kFavorite = {"set:FirstPageMore image:StartHeight",
                                           "set:FirstPageMore image:StartHeightHover", "set:FirstPageMore image:Start",
                                           "取消收藏此店铺"};
    static const CButtonLooks kNotFavorite = {"set:FirstPageMore image:Start", "set:FirstPageMore image:StartHover",
                                              "set:FirstPageMore image:StartHeight", "收藏此店铺"};
    const bool favorite = CTaobaoDataStore::getInstance().favoriteShops.containsShop(m_shopNick);
    (favorite ? kFavorite : kNotFavorite).ApplyTo(m_favoriteShop);
}

void CTopPanel::ShowShopInfo(bool shown)
{
    CEGUI::Window* shopName = CEGuiCompat::GetWindow("TopPanel/ShopName");
    if (shopName->isVisible() != shown)
        shopName->setVisible(shown);
}

void CTopPanel::SetShopName(const std::string& text)
{
    ShowShopNick(ToUtf8(text));
}

void CTopPanel::ShowShopNick(const std::string& utf8Nick)
{
    m_shopDisplayName = utf8Nick;
    SetText(m_shopName, utf8Nick);
}

bool CTopPanel::OnSearchButton(const CEGUI::EventArgs& e)
{
    if (static_cast<const CEGUI::WindowEventArgs&>(e).window->getID() != 0)
        return true;
    SearchFromTheBar();
    return true;
}

// A search inside the shop still shows that shop: its seller stays on the
// left panel, only the trees of the previous search go.
void CTopPanel::SearchFromTheBar()
{
    CLeftPanel& panel = CLeftPanel::getInstance();
    if (IsSearchInShop())
        panel.ResetKeepingSeller();
    else
        panel.Reset();
    StartSearch();
}

bool CTopPanel::IsSearchInShop() const
{
    return Modes().GetCurrentKind() == ModeShop && m_inShop->isVisible() && m_inShop->isSelected();
}

bool CTopPanel::OnSearchBoxCharacter(const CEGUI::EventArgs& e)
{
    const CEGUI::String::value_type character = CharacterOf(e);
    if (character == kEnter) {
        SearchFromTheBar();
        return true;
    }
    return CQX_EditClipboard::Handle(*m_searchBox, character) || IsControlCharacter(character);
}

bool CTopPanel::OnPriceBoxCharacter(const CEGUI::EventArgs& e)
{
    const CEGUI::String::value_type character = CharacterOf(e);
    if (character == kEnter)
        StartSearch();
    auto* box = static_cast<CEGUI::Editbox*>(static_cast<const CEGUI::WindowEventArgs&>(e).window);
    return CQX_EditClipboard::Handle(*box, character) || IsControlCharacter(character);
}

bool CTopPanel::OnFilterAccepted(const CEGUI::EventArgs&)
{
    StartSearch();
    return true;
}

bool CTopPanel::OnLocationAccepted(const CEGUI::EventArgs&)
{
    const int kind = Modes().GetCurrentKind();
    if (kind != ModeSearch && kind != ModeSimpleSearch)
        return false;
    StartSearch();
    return true;
}

bool CTopPanel::OnCreditClick(const CEGUI::EventArgs&)
{
    if (m_sortButtons.CreditState() != CQX_SortButtons::Inactive)
        return true;
    m_sortButtons.ShowOnly(CQX_SortButtons::Credit, CQX_SortButtons::CreditActive);
    Condition().SetSort(CQX_SearchSnapshot::SortByCredit, false);
    return true;
}

bool CTopPanel::OnPriceClick(const CEGUI::EventArgs&)
{
    const int state =
        m_sortButtons.PriceState() == CQX_SortButtons::PriceUp ? CQX_SortButtons::PriceDown : CQX_SortButtons::PriceUp;
    m_sortButtons.ShowOnly(CQX_SortButtons::Price, state);
    Condition().SetSort(CQX_SearchSnapshot::SortByPrice, state == CQX_SortButtons::PriceUp);
    return true;
}

bool CTopPanel::OnVolumeClick(const CEGUI::EventArgs&)
{
    Condition().SetSort(CQX_SearchSnapshot::SortByVolume, false);
    m_sortButtons.ShowOnly(CQX_SortButtons::Volume, CQX_SortButtons::VolumeActive);
    return true;
}

bool CTopPanel::OnTimeClick(const CEGUI::EventArgs&)
{
    const bool ascending = m_sortButtons.TimeFlag();
    Condition().SetSort(CQX_SearchSnapshot::SortByTime, ascending);
    m_sortButtons.ShowOnly(CQX_SortButtons::Time, ascending ? CQX_SortButtons::TimeUp : CQX_SortButtons::TimeDown);
    m_sortButtons.InvertTimeFlag();
    return true;
}

bool CTopPanel::OnHistoryBack(const CEGUI::EventArgs&)
{
    Modes().GoBack();
    m_owner->SetScrollLimitForScreen();
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActHistoryBack);
    return true;
}

bool CTopPanel::OnHistoryForward(const CEGUI::EventArgs&)
{
    Modes().GoForward();
    m_owner->SetScrollLimitForScreen();
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActHistoryForward);
    return true;
}

// Entering the roam mode with a class shows that class from its start.
void CTopPanel::EnterRoamClass(int classId)
{
    Modes().SwitchMode(ModeRoam);
    CQXRecommendCatalogue::getInstance().SetCurrentClass(classId);
    Condition().ResetCondition();
    Condition().DoSearch(0);
}

bool CTopPanel::OnReturnRecommend(const CEGUI::EventArgs&)
{
    EnterRoamClass(0);
    SelectClass(0);
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActBackToRecommend);
    return true;
}

// The button keeps the keyboard after a click; only Enter presses it again,
// so typing elsewhere never throws the wall back to the recommendations.
bool CTopPanel::OnReturnRecommendKey(const CEGUI::EventArgs& e)
{
    return CharacterOf(e) == kEnter && OnReturnRecommend(e);
}

bool CTopPanel::OnFavoritesSwitch(const CEGUI::EventArgs&)
{
    const int entry = CQX_ComboList::SelectedId(m_favoritesSwitch);
    if (entry == FavoriteProductsEntry) {
        Modes().SwitchMode(ModeFavoriteProducts);
        m_sortButtons.ShowOnly(CQX_SortButtons::Credit, CQX_SortButtons::CreditActive);
        Condition().SetSort(CQX_SearchSnapshot::SortByCredit, false);
        Condition().DoSearch(0);
    } else if (entry == FavoriteShopsEntry) {
        Modes().SwitchMode(ModeFavoriteShops);
        Condition().DoSearch(0);
    } else {
        return false;
    }
    return true;
}

bool CTopPanel::OnFavoriteShopToggle(const CEGUI::EventArgs&)
{
    auto& store = CTaobaoDataStore::getInstance();
    if (store.favoriteShops.containsShop(m_shopNick)) {
        store.favoriteShops.removeShop(m_shopNick);
    } else if (!m_shopNick.empty()) {
        if (m_shopPicturePath.empty())
            store.products.copyPictureURL(0, m_shopPicturePath);
        store.favoriteShops.addFavoriteShop(m_shopNick, m_shopPicturePath);
        CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActFavoriteShopAdded);
    }
    UpdateShopHeader();
    return true;
}

bool CTopPanel::OnClassAccepted(const CEGUI::EventArgs&)
{
    const int id = CQX_ComboList::SelectedId(Full(ClassEntries));
    if (id >= 0)
        EnterRoamClass(id);
    return false;
}
