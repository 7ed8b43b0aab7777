#pragma once
#include "mainwnd/CQX_SearchSnapshot.h"
#include "mainwnd/CQX_SortButtons.h"
#include "render/CSearchBarTarget.h"

#include <CEGUI/CEGUI.h>

#include <string>
#include <vector>

class CQX_MainWnd;

// The top bar: the search box with its price range, location and filter
// lists and sort buttons, and the controls each browsing mode shows there
// (the recommendation classes, the favourites switch, the shop header), plus
// the history buttons of the bottom bar.
class CTopPanel : public CSearchBarTarget
{
public:
    static CTopPanel& getInstance();

    // Finds the widgets of the main layout and subscribes their handlers.
    void Initialise(CQX_MainWnd* owner);
    // From the first frame on, the location, filter and class lists are
    // filled: a few more entries per call of ContinueSetup (true once all
    // are full), and at once whenever anything needs them. Each new entry
    // can cost the GUI tens of milliseconds of glyph drawing, and the
    // entries are seen only when a list drops down, so idle moments after
    // the start-up screen fill them.
    void BeginSetup();
    bool ContinueSetup();
    void FinishSetup();
    // Takes the class names once the recommendations are loaded and shows
    // the first class.
    void ApplyCatalogue();

    void StartSearch();
    bool IsSearchInShop() const;
    // The price boxes as bounds (-1 for none); swapped bounds are put in
    // order and both boxes rewritten, a lone bound clears the other box.
    void ReadPriceRange(int& start, int& end);
    void SetPriceBoxes(bool showStart, int start, bool showEnd, int end);
    // Selects the location entry with that UTF-8 text; empty selects "所在地".
    void SelectLocation(const std::string& text);
    bool ApplyFilter();
    void ResetFilters();
    void ShowSortButtons(int type, bool flag);
    void SetKeywordText(const std::string& utf8);
    // Shows a remembered search: keyword, prices, location, filter and sort.
    void ShowCondition(const CQX_SearchSnapshot& snapshot);
    void SelectClass(int classId);

    void ShowModeView(int modeKind);
    void UpdateHistoryButtons();
    // nick in the system code page.
    void SetShopHeader(const std::string& nick, const std::string& picturePath);
    void UpdateShopHeader();
    // text in the system code page.
    void SetShopName(const std::string& text);
    // The shop's name above the wall, shown only while its first screen is in view.
    void ShowShopInfo(bool shown);
    void ShowShopNick(const std::string& utf8Nick) override;

    const std::string& GetShopNick() const { return m_shopNick; }
    const std::string& GetShopPicturePath() const { return m_shopPicturePath; }
    const std::string& GetShopDisplayName() const { return m_shopDisplayName; }
    // One of the search box and the two price boxes has the keyboard.
    bool IsEditActive() const;

private:
    void SubscribeHandlers();
    // A list whose entries are filled after start-up.
    enum Entries
    {
        LocationEntries,
        FilterEntries,
        ClassEntries
    };
    struct EntryList
    {
        CEGUI::Combobox* box;
        const std::vector<std::string>* texts;  // UTF-8
        bool (CTopPanel::*onAccepted)(const CEGUI::EventArgs&);
        int firstSelection;
    };
    EntryList EntryListOf(Entries which);
    bool FillEntries(Entries which, size_t maxEntries);
    // The list, full.
    CEGUI::Combobox* Full(Entries which);
    bool OnListDropping(const CEGUI::EventArgs& e);
    void SetVisibility(int modeKind);
    void ShowFavoritesSwitch(int entry);
    void EnterRoamClass(int classId);

    bool OnSearchButton(const CEGUI::EventArgs& e);
    void SearchFromTheBar();
    bool OnSearchBoxCharacter(const CEGUI::EventArgs& e);
    bool OnPriceBoxCharacter(const CEGUI::EventArgs& e);
    bool OnFilterAccepted(const CEGUI::EventArgs& e);
    bool OnLocationAccepted(const CEGUI::EventArgs& e);
    bool OnCreditClick(const CEGUI::EventArgs& e);
    bool OnPriceClick(const CEGUI::EventArgs& e);
    bool OnVolumeClick(const CEGUI::EventArgs& e);
    bool OnTimeClick(const CEGUI::EventArgs& e);
    bool OnHistoryBack(const CEGUI::EventArgs& e);
    bool OnHistoryForward(const CEGUI::EventArgs& e);
    bool OnReturnRecommend(const CEGUI::EventArgs& e);
    bool OnReturnRecommendKey(const CEGUI::EventArgs& e);
    bool OnFavoritesSwitch(const CEGUI::EventArgs& e);
    bool OnFavoriteShopToggle(const CEGUI::EventArgs& e);
    bool OnClassAccepted(const CEGUI::EventArgs& e);

    CQX_MainWnd* m_owner = nullptr;
    CQX_SortButtons m_sortButtons;
    std::string m_shopNick;
    std::string m_shopPicturePath;
    std::string m_shopDisplayName;

    CEGUI::Editbox* m_searchBox = nullptr;
    CEGUI::Window* m_searchButton = nullptr;
    CEGUI::Editbox* m_startPrice = nullptr;
    CEGUI::Editbox* m_endPrice = nullptr;
    CEGUI::Combobox* m_location = nullptr;
    CEGUI::Combobox* m_filter = nullptr;
    CEGUI::ToggleButton* m_inShop = nullptr;
    CEGUI::Window* m_returnRecommend = nullptr;
    CEGUI::Window* m_favoriteShop = nullptr;
    CEGUI::Combobox* m_favoritesSwitch = nullptr;
    CEGUI::Window* m_historyForward = nullptr;
    CEGUI::Window* m_historyBack = nullptr;
    CEGUI::Window* m_shopName = nullptr;
    CEGUI::Combobox* m_classList = nullptr;
    std::vector<std::string> m_classNames;  // UTF-8
    bool m_setupBegun = false;
};
