#pragma once
#include "mainwnd/CQX_FavoriteProductMode.h"
#include "mainwnd/CQX_FavoriteShopMode.h"
#include "mainwnd/CQX_HistoryEntry.h"
#include "mainwnd/CQX_ModePosition.h"
#include "mainwnd/CQX_RoamMode.h"
#include "mainwnd/CQX_SearchMode.h"
#include "mainwnd/CQX_ShopMode.h"
#include "mainwnd/CQX_SimpleSearchMode.h"
#include "mainwnd/CQX_TodayMode.h"
#include "mainwnd/CUnknownMode.h"

#include <list>
#include <memory>

class CQX_MainWnd;

// The browsing modes, the current one, and the back/forward history of the
// searches, recommendation classes and shops the user has seen. The today
// and favourites views keep no history; the manager remembers where the
// user was in them instead.
class CQX_ModeManager
{
public:
    using History = std::list<std::unique_ptr<CQX_HistoryEntry>>;

    static CQX_ModeManager& getInstance();

    void SetOwner(CQX_MainWnd* owner) { m_owner = owner; }
    CQX_MainWnd* GetOwner() const { return m_owner; }

    CQX_BaseMode& GetCurrentMode() const { return *m_current; }
    int GetCurrentKind() const { return m_current->GetModeKind(); }
    // The mode instance of a kind; the unknown mode for a kind that has none.
    CQX_BaseMode& GetMode(int kind);

    void SwitchMode(CQX_BaseMode& target);
    void SwitchMode(int kind) { SwitchMode(GetMode(kind)); }
    void SaveHistory();
    void RestoreHistory(const CQX_HistoryEntry& entry);
    void GoBack();
    void GoForward();
    void ShowToday();
    void ShowFavorites();

    const History& GetBackList() const { return m_back; }
    const History& GetForwardList() const { return m_forward; }

    CQX_ModeManager() = default;
    CQX_ModeManager(const CQX_ModeManager&) = delete;
    CQX_ModeManager& operator=(const CQX_ModeManager&) = delete;

private:
    void AddToBackList(std::unique_ptr<CQX_HistoryEntry> entry);
    CQX_BaseMode& TargetOf(const CQX_HistoryEntry& entry);
    // Takes the newest entry of one list, restores it and files the state
    // it replaces in the other list.
    void Step(History& from, History& to);
    CQX_ModePosition& TodayPosition();
    CQX_ModePosition& FavoritesPosition();
    void ShowPosition(const CQX_ModePosition& position, bool showSort);

    CQX_MainWnd* m_owner = nullptr;
    CUnknownMode m_unknown;
    CQX_SearchMode m_search;
    CQX_SimpleSearchMode m_simpleSearch;
    CQX_FavoriteProductMode m_favoriteProducts;
    CQX_FavoriteShopMode m_favoriteShops;
    CQX_RoamMode m_roam;
    CQX_TodayMode m_today;
    CQX_ShopMode m_shop;
    CQX_BaseMode* m_current = &m_unknown;
    bool m_restoring = false;
    History m_back;
    History m_forward;
    std::unique_ptr<CQX_ModePosition> m_todayPosition;
    std::unique_ptr<CQX_ModePosition> m_favoritesPosition;
};
