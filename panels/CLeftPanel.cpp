#include "panels/CLeftPanel.h"

#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_ModeKind.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "panels/CButtonLooks.h"
#include "panels/CDetailWindow.h"
#include "panels/CPanelText.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

const char kExpandedArea[] = "{{0,0},{0,43},{0,235},{1,-43}}";
const char kExpandedImage[] = "set:size image:LeftPanelBK";
const char kExpandedButtonArea[] = "{{0, 0},{0,0},{0,227},{0,28}}";
const char kCollapsedArea[] = "{{0,0},{0,45},{0,116},{0,111}}";
const char kCollapsedButtonArea[] = "{{0, 0},{0,0},{0,116},{0,28}}";

const CButtonLooks kExpandedShopLooks = {"set:PlayStop image:LeftPanelShrinkShopBtn",
                                        "set:PlayStop image:LeftPanelShrinkBtnShopHighLight",
                                        "set:PlayStop image:LeftPanelShrinkShopBtn", "单击收缩店铺详情"};
const CButtonLooks kExpandedLooks = {"set:size image:LeftPanelShrinkBtn",
                                    "set:FirstPageMore image:LeftPanelShrinkBtnHighLight",
                                    "set:size image:LeftPanelShrinkBtn", "单击收缩商品分类"};
const CButtonLooks kCollapsedShopLooks = {"set:PlayStop image:LeftPanelExpandShopBtn",
                                         "set:PlayStop image:LeftPanelExpandBtnShopHighLight",
                                         "set:PlayStop image:LeftPanelExpandShopBtn", ""};
const CButtonLooks kCollapsedLooks = {"set:size image:LeftPanelExpandBtn",
                                     "set:FirstPageMore image:LeftPanelExpandBtnHighLight",
                                     "set:size image:LeftPanelExpandBtn", ""};

void ApplyLooks(CEGUI::Window* button, const CButtonLooks& looks, const char* area)
{
    looks.ApplyTo(button);
    CEGuiCompat::SetProperty(button, "UnifiedAreaRect", area);
}


// The category the current search narrows to; "" when it has none.
std::string CurrentCategoryId()
{
    const std::string cid = CTaobaoDataStore::getInstance().copyCategoryId();
    return cid == "0" || cid == "-1" ? std::string() : cid;
}

struct CategoryEntry
{
    std::string name;
    std::string cid;
    long long count;
};

CEGUI::TreeItem* ChosenItem(const CEGUI::EventArgs& e)
{
    return static_cast<const CEGUI::TreeEventArgs&>(e).treeItem;
}

// An item opened or closed by the program needs the tree to lay out again.
void ToggleItem(CKeyedTree& tree, CEGUI::TreeItem* item)
{
    item->toggleIsOpen();
    tree.Tree()->handleUpdatedItemData();
}

}

CLeftPanel& CLeftPanel::getInstance()
{
    static CLeftPanel instance;
    return instance;
}

void CLeftPanel::Initialise(CQX_MainWnd* mainWnd)
{
    m_mainWnd = mainWnd;
    m_panel = CEGuiCompat::GetWindow("SearchDiv/LeftPanel");
    m_sellerName = CEGuiCompat::GetWindow("LeftPanel/SalerName");
    m_sellerCredit = CEGuiCompat::GetWindow("LeftPanel/SalerCredit");
    m_sellerRate = CEGuiCompat::GetWindow("LeftPanel/SalerReputation");
    m_creditImage = CEGuiCompat::GetWindow("LeftPanel/SalerCreditImage");
    m_bulletinText = CEGuiCompat::GetWindow("LeftPanel/bulletin");
    m_openClose = CEGuiCompat::GetWindow("LeftPanel/OpenCloseTree");
    m_shrinkBottom = CEGuiCompat::GetWindow("LeftPanel/ShrinkBottom");
    m_splitLine = CEGuiCompat::GetWindow("LeftPanel/SplitLine");
    m_categories.Attach(static_cast<CEGUI::Tree*>(CEGuiCompat::GetWindow("LeftPanel/CategoryTree")));
    m_properties.Attach(static_cast<CEGUI::Tree*>(CEGuiCompat::GetWindow("LeftPanel/PropertyTree")));
    m_categories.Reset();
    m_properties.Reset();
    m_expanded = false;
    SubscribeEvents();
    m_panel->hide();
    SetSellerWidgetsVisible(false);
    Expand();
    Set(this);
}

void CLeftPanel::SubscribeEvents()
{
    using CEGUI::Event;
    m_openClose->subscribeEvent(CEGUI::Window::EventMouseClick, Event::Subscriber(&CLeftPanel::OnOpenClose, this));
    m_openClose->subscribeEvent(CEGuiCompat::EventName("MouseEnter"),
                                Event::Subscriber(&CLeftPanel::OnOpenCloseEnter, this));
    m_shrinkBottom->subscribeEvent(CEGUI::Window::EventMouseClick, Event::Subscriber(&CLeftPanel::OnShrinkBottom, this));
    for (CKeyedTree* tree : {&m_categories, &m_properties})
        tree->Tree()->setItemTooltipsEnabled(true);
    m_categories.Tree()->subscribeEvent(CEGUI::Tree::EventSelectionChanged,
                                        Event::Subscriber(&CLeftPanel::OnCategoryChosen, this));
    m_properties.Tree()->subscribeEvent(CEGUI::Tree::EventSelectionChanged,
                                        Event::Subscriber(&CLeftPanel::OnPropertyChosen, this));
}

bool CLeftPanel::IsShopMode()
{
    return CQX_GlobalVariable::getInstance().GetCurrentModeId() == ModeShop;
}

bool CLeftPanel::IsSearchMode()
{
    return CQX_GlobalVariable::getInstance().GetCurrentModeId() == ModeSearch;
}

// Notices 1 to 4: a failed connection or an empty result of some kind.
bool CLeftPanel::IsRetryNoticeShown()
{
    const int notice = CQX_NoticeBoard::getInstance().GetState();
    return notice >= CQX_NoticeBoard::NetworkFailure && notice <= CQX_NoticeBoard::NoFavoriteProducts;
}

void CLeftPanel::Expand()
{
    const bool shop = IsShopMode();
    CEGuiCompat::SetProperty(m_panel, "UnifiedAreaRect", kExpandedArea);
    CEGuiCompat::SetProperty(m_panel, "Image", kExpandedImage);
    ApplyLooks(m_openClose, shop ? kExpandedShopLooks : kExpandedLooks, kExpandedButtonArea);
    if (m_expanded)
        return;
    m_expanded = true;
    MoveBehindSiblings();
    m_splitLine->show();
    m_shrinkBottom->hide();
    SetSellerWidgetsVisible(shop);
    if (!shop)
        SetTreesVisible(true);
}

// The GUI's own move to the back also moves every ancestor behind its
// siblings, which would bury the search bar under the top bar: the panel
// moves behind its own siblings only.
void CLeftPanel::MoveBehindSiblings()
{
    CEGUI::Window* parent = m_panel->getParent();
    CEGUI::Window* backmost = nullptr;
    for (size_t i = 0; parent && i < parent->getChildCount(); ++i) {
        CEGUI::Window* sibling = parent->getChildAtIdx(i);
        if (sibling != m_panel && sibling->isAlwaysOnTop() == m_panel->isAlwaysOnTop() &&
            (!backmost || sibling->isBehind(*backmost)))
            backmost = sibling;
    }
    if (backmost && backmost->isBehind(*m_panel))
        m_panel->moveBehind(backmost);
}

void CLeftPanel::Collapse()
{
    if (!m_expanded)
        return;
    m_expanded = false;
    const bool shop = IsShopMode();
    CEGuiCompat::SetProperty(m_panel, "UnifiedAreaRect", kCollapsedArea);
    CEGuiCompat::SetProperty(m_panel, "Image", "");
    ApplyLooks(m_openClose, shop ? kCollapsedShopLooks : kCollapsedLooks, kCollapsedButtonArea);
    m_splitLine->hide();
    m_shrinkBottom->show();
    SetSellerWidgetsVisible(false);
    if (!shop)
        SetTreesVisible(false);
}

void CLeftPanel::Reset()
{
    ResetKeepingSeller();
    m_sellerNick.clear();
    m_credit.clear();
    m_bulletin.clear();
    m_rate = 0;
}

void CLeftPanel::ResetKeepingSeller()
{
    m_categories.Reset();
    m_properties.Reset();
    m_expanded = false;
}

// The credit picture only shows for a credit that has one, so a seller
// without stars never shows the previous seller's.
void CLeftPanel::SetSellerWidgetsVisible(bool visible)
{
    for (CEGUI::Window* widget : {m_sellerName, m_sellerCredit, m_sellerRate, m_bulletinText})
        widget->setVisible(visible);
    if (visible)
        CDetailWindow::SetCreditImage(m_creditImage, m_credit);
    else
        m_creditImage->hide();
}

void CLeftPanel::SetTreesVisible(bool visible)
{
    m_categories.Tree()->setVisible(visible);
    m_properties.Tree()->setVisible(visible);
}

void CLeftPanel::ShowPanel()
{
    m_panel->show();
    if (m_mainWnd)
        m_mainWnd->ActivateRoamButton(false);
}

void CLeftPanel::Hide()
{
    m_panel->hide();
}

void CLeftPanel::ClearSeller()
{
    SetSellerWidgetsVisible(false);
    m_sellerNick.clear();
}

void CLeftPanel::ShowSellerSectionIfExpanded()
{
    SetSellerWidgetsVisible(m_expanded);
}

void CLeftPanel::SetSeller(const std::string& nick, const std::string& credit, double rate)
{
    m_sellerNick = nick;
    m_credit = credit;
    m_rate = rate;
    RefreshSellerInfo();
}

void CLeftPanel::SetSellerCredit(const std::string& credit, double ratePercent)
{
    m_credit = credit;
    m_rate = ratePercent;
}

void CLeftPanel::RefreshSellerInfo()
{
    m_sellerName->setText(CEGuiCompat::Utf8("卖家：" + CPanelText::Utf8(m_sellerNick)));
    m_sellerRate->setText(CEGuiCompat::Utf8(CDetailWindow::GoodRateLabel(m_rate)));
    m_sellerCredit->setText(CEGuiCompat::Utf8("信用：" + CPanelText::Utf8(m_credit)));
    CDetailWindow::SetCreditImage(m_creditImage, m_credit);
    ShowPanel();
    ShowSellerSectionIfExpanded();
    RefreshBulletin();
    SetTreesVisible(false);
}

void CLeftPanel::RefreshBulletin()
{
    if (IsSearchMode())
        return;
    // The bulletin is UTF-8, but the plain-text conversion decodes entities
    // into the system code page: it works on the bulletin in that code page.
    const std::string text = CPanelText::Utf8(HtmlToText(CPanelText::Ansi(m_bulletin)));
    m_bulletinText->setText(CEGuiCompat::Utf8("店铺公告: " + text));
    SetTreesVisible(false);
    ShowPanel();
    ShowSellerSectionIfExpanded();
}

void CLeftPanel::BuildCategoryTree()
{
    CEGUI::TreeItem* selected = m_categories.Selected();
    if (selected ? selected->getItemCount() > 0 : !m_categories.IsEmpty())
        return;
    std::vector<const CTaobaoCategory*> records;
    std::vector<std::string> counts;
    if (!CTaobaoDataStore::getInstance().categories.getChildren(CurrentCategoryId(), records, counts) ||
        !IsSearchMode())
        return;
    const std::string selectedKey = m_categories.KeyOf(selected);
    std::vector<CategoryEntry> entries;
    for (size_t i = 0; i < records.size(); ++i) {
        if (selected && records[i]->cid == selectedKey)
            return;
        const CategoryEntry entry{records[i]->name, records[i]->cid, std::atoll(counts[i].c_str())};
        auto lower = std::find_if(entries.begin(), entries.end(),
                                  [&](const CategoryEntry& e) { return e.count < entry.count; });
        entries.insert(lower, entry);
    }
    for (const CategoryEntry& entry : entries)
        m_categories.AddItem(CPanelText::Utf8(entry.name), entry.cid, selected);
    if (selected)
        ToggleItem(m_categories, selected);
    ShowPanel();
    Expand();
}

void CLeftPanel::BuildPropertyTree()
{
    std::vector<CTaobaoPropertyEntry> entries;
    if (!CTaobaoDataStore::getInstance().properties.copyProperties(CurrentCategoryId(), entries) || !IsSearchMode())
        return;
    const std::string brand = CPanelText::Ansi("品牌");
    std::map<std::string, CEGUI::TreeItem*> headers;
    bool first = true;
    for (const CTaobaoPropertyEntry& entry : entries) {
        if (!entry.parent.empty() && entry.parent != entry.id)
            continue;
        const bool inFront = !first && entry.name == brand;
        headers[entry.id] = inFront ? m_properties.InsertFirst(CPanelText::Utf8(entry.name), "")
                                    : m_properties.AddItem(CPanelText::Utf8(entry.name), "");
        first = false;
    }
    for (const CTaobaoPropertyEntry& entry : entries) {
        if (entry.parent.empty() || entry.parent == entry.id)
            continue;
        auto header = headers.find(entry.parent);
        if (header != headers.end())
            m_properties.AddItem(CPanelText::Utf8(entry.name), entry.parent + ":" + entry.id, header->second);
    }
    ShowPanel();
    Expand();
}

bool CLeftPanel::OnOpenClose(const CEGUI::EventArgs&)
{
    if (m_expanded)
        Collapse();
    else
        Expand();
    return true;
}

bool CLeftPanel::OnOpenCloseEnter(const CEGUI::EventArgs&)
{
    Expand();
    return true;
}

bool CLeftPanel::OnShrinkBottom(const CEGUI::EventArgs&)
{
    Expand();
    return true;
}

bool CLeftPanel::OnCategoryChosen(const CEGUI::EventArgs& e)
{
    CEGUI::TreeItem* item = ChosenItem(e);
    if (!item || item->getID() == 0)
        return true;
    const std::string key = m_categories.KeyOf(item);
    if (item == m_categories.Selected() && !IsRetryNoticeShown())
        return true;
    m_categories.SetSelected(item);
    if (key.empty())
        return true;
    m_properties.Reset();
    if (m_mainWnd)
        m_mainWnd->SearchByCategory(key);
    return true;
}

bool CLeftPanel::OnPropertyChosen(const CEGUI::EventArgs& e)
{
    CEGUI::TreeItem* item = ChosenItem(e);
    if (!item)
        return true;
    const std::string key = m_properties.KeyOf(item);
    if (key.empty()) {
        ToggleItem(m_properties, item);
        return true;
    }
    if (item == m_properties.Selected() && !IsRetryNoticeShown())
        return true;
    m_properties.SetSelected(item);
    if (m_mainWnd)
        m_mainWnd->SearchByProperty(key);
    return true;
}
