#pragma once
#include "panels/CKeyedTree.h"
#include "render/CLeftPanelTarget.h"

#include <CEGUI/CEGUI.h>

#include <string>

class CQX_MainWnd;

// The panel at the left edge: in a keyword search, the categories found and
// the properties of the chosen category, which narrow the search; in a shop,
// the seller with credit, good rate and the shop's bulletin. It collapses to
// a small button and expands again. Render thread only.
class CLeftPanel : public CLeftPanelTarget
{
public:
    static CLeftPanel& getInstance();

    void Initialise(CQX_MainWnd* mainWnd);
    void Expand();
    void Collapse();
    // Empties both trees and the seller; geometry and visibility stay.
    void Reset();
    // Reset, but the seller nick, credit, rate and bulletin stay.
    void ResetKeepingSeller();
    // The panel root hides until new content arrives.
    void Hide();
    bool IsShown() const { return m_panel && m_panel->isVisible(); }
    // Leaving a shop: the seller widgets hide and the nick is forgotten.
    void ClearSeller();

    // nick in the system code page, rate in percent.
    void SetSeller(const std::string& nick, const std::string& credit, double rate);
    void RefreshSellerInfo() override;
    void RefreshBulletin() override;
    void BuildCategoryTree() override;
    void BuildPropertyTree() override;

    // What the seller and shop messages bring.
    std::string GetSellerNick() const override { return m_sellerNick; }
    void SetSellerCredit(const std::string& credit, double ratePercent) override;
    void SetBulletin(const std::string& utf8Bulletin) override { m_bulletin = utf8Bulletin; }

    bool IsExpanded() const { return m_expanded; }
    CKeyedTree& CategoryTree() { return m_categories; }
    CKeyedTree& PropertyTree() { return m_properties; }

private:
    CLeftPanel() = default;

    void SubscribeEvents();
    void ShowPanel();
    void MoveBehindSiblings();
    void SetExpandedLooks(bool shop);
    void SetCollapsedLooks(bool shop);
    void SetSellerWidgetsVisible(bool visible);
    void SetTreesVisible(bool visible);
    void ShowSellerSectionIfExpanded();
    static bool IsShopMode();
    static bool IsSearchMode();
    static bool IsRetryNoticeShown();

    bool OnOpenClose(const CEGUI::EventArgs& e);
    bool OnOpenCloseEnter(const CEGUI::EventArgs& e);
    bool OnShrinkBottom(const CEGUI::EventArgs& e);
    bool OnCategoryChosen(const CEGUI::EventArgs& e);
    bool OnPropertyChosen(const CEGUI::EventArgs& e);

    CKeyedTree m_categories;
    CKeyedTree m_properties;
    CEGUI::Window* m_panel = nullptr;
    CEGUI::Window* m_sellerName = nullptr;
    CEGUI::Window* m_sellerCredit = nullptr;
    CEGUI::Window* m_sellerRate = nullptr;
    CEGUI::Window* m_creditImage = nullptr;
    CEGUI::Window* m_bulletinText = nullptr;
    CEGUI::Window* m_openClose = nullptr;
    CEGUI::Window* m_shrinkBottom = nullptr;
    CEGUI::Window* m_splitLine = nullptr;
    CQX_MainWnd* m_mainWnd = nullptr;
    bool m_expanded = false;
    std::string m_sellerNick;
    std::string m_credit;
    std::string m_bulletin;
    double m_rate = 0;
};
