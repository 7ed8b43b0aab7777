#include "mainwnd/CQX_ModeManager.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "service/CQXRecommendCatalogue.h"

#include <cstdlib>

CQX_ModeManager& CQX_ModeManager::getInstance()
{
    static CQX_ModeManager instance;
    return instance;
}

CQX_BaseMode& CQX_ModeManager::GetMode(int kind)
{
    switch (kind) {
    case ModeSearch: return m_search;
    case ModeSimpleSearch: return m_simpleSearch;
    case ModeFavoriteProducts: return m_favoriteProducts;
    case ModeToday: return m_today;
    case ModeFavoriteShops: return m_favoriteShops;
    case ModeRoam: return m_roam;
    case ModeShop: return m_shop;
    default: return m_unknown;
    }
}

void CQX_ModeManager::SwitchMode(CQX_BaseMode& target)
{
    SaveHistory();
    m_current->Leave();
    if (&target == m_current)
        return;
    CQX_BaseMode& old = *m_current;
    old.Deactivate();
    m_current = &target;
    CQX_GlobalVariable::getInstance().SetCurrentModeId(target.GetModeKind());
    target.Activate();
    if (m_owner && old.IsBigPictures() != target.IsBigPictures())
        m_owner->ApplyBigPictures(target.IsBigPictures());
    if (m_owner)
        m_owner->UpdateModeButtons();
}

void CQX_ModeManager::SaveHistory()
{
    const int kind = GetCurrentKind();
    const CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    const int first = m_owner ? m_owner->GetFirstVisibleIndex() : 0;
    if (kind == ModeFavoriteProducts || kind == ModeFavoriteShops) {
        CQX_ModePosition& position = FavoritesPosition();
        position.products = kind != ModeFavoriteShops;
        position.snapshot = condition.Snapshot();
        position.firstIndex = first;
    } else if (kind == ModeToday) {
        CQX_ModePosition& position = TodayPosition();
        position.firstIndex = first;
        position.snapshot = condition.Snapshot();
    } else if (!m_restoring) {
        if (std::unique_ptr<CQX_HistoryEntry> entry = m_current->CreateHistoryEntry())
            AddToBackList(std::move(entry));
    }
}

// An entry equal to the newest one replaces it, so "back" never shows the
// same wall twice and returns to where the user was last.
void CQX_ModeManager::AddToBackList(std::unique_ptr<CQX_HistoryEntry> entry)
{
    if (!m_back.empty() && m_back.back()->SameState(*entry)) {
        m_back.back() = std::move(entry);
        return;
    }
    m_forward.clear();
    m_back.push_back(std::move(entry));
    CTopPanel::getInstance().UpdateHistoryButtons();
}

CQX_BaseMode& CQX_ModeManager::TargetOf(const CQX_HistoryEntry& entry)
{
    if (entry.modeKind == ModeRoam) {
        auto& catalogue = CQXRecommendCatalogue::getInstance();
        catalogue.SetCurrentClass(std::atoi(entry.extra.c_str()));
        CTopPanel::getInstance().SelectClass(catalogue.GetCurrentClass());
    }
    return GetMode(entry.modeKind);
}

void CQX_ModeManager::RestoreHistory(const CQX_HistoryEntry& entry)
{
    m_restoring = true;
    CQX_BaseMode& target = TargetOf(entry);
    SwitchMode(target);
    CTopPanel::getInstance().ShowCondition(entry.snapshot);
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    condition.Restore(entry.snapshot);
    target.RestoreHistoryEntry(entry);
    condition.DoSearch(entry.firstIndex);
    m_restoring = false;
}

void CQX_ModeManager::Step(History& from, History& to)
{
    std::unique_ptr<CQX_HistoryEntry> entry = std::move(from.back());
    from.pop_back();
    std::unique_ptr<CQX_HistoryEntry> current = m_current->CreateHistoryEntry();
    RestoreHistory(*entry);
    if (current)
        to.push_back(std::move(current));
    CTopPanel::getInstance().UpdateHistoryButtons();
}

void CQX_ModeManager::GoBack()
{
    if (!m_back.empty()) {
        Step(m_back, m_forward);
        return;
    }
    if (GetCurrentKind() == ModeRoam)
        return;
    m_restoring = true;
    SwitchMode(m_roam);
    m_restoring = false;
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    condition.ResetCondition();
    condition.DoSearch(0);
    CTopPanel::getInstance().UpdateHistoryButtons();
}

void CQX_ModeManager::GoForward()
{
    if (!m_forward.empty())
        Step(m_forward, m_back);
}

CQX_ModePosition& CQX_ModeManager::TodayPosition()
{
    if (!m_todayPosition)
        m_todayPosition = std::make_unique<CQX_ModePosition>();
    return *m_todayPosition;
}

CQX_ModePosition& CQX_ModeManager::FavoritesPosition()
{
    if (!m_favoritesPosition)
        m_favoritesPosition = std::make_unique<CQX_ModePosition>();
    return *m_favoritesPosition;
}

void CQX_ModeManager::ShowPosition(const CQX_ModePosition& position, bool showSort)
{
    if (showSort)
        CTopPanel::getInstance().ShowSortButtons(position.snapshot.sortType, position.snapshot.sortFlag);
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    condition.Restore(position.snapshot);
    condition.DoSearch(position.firstIndex);
}

void CQX_ModeManager::ShowToday()
{
    SwitchMode(m_today);
    ShowPosition(TodayPosition(), true);
}

void CQX_ModeManager::ShowFavorites()
{
    const bool products = FavoritesPosition().products;
    SwitchMode(products ? static_cast<CQX_BaseMode&>(m_favoriteProducts) : m_favoriteShops);
    ShowPosition(FavoritesPosition(), products);
}
