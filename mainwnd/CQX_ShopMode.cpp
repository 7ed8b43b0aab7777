#include "mainwnd/CQX_ShopMode.h"

#include "mainwnd/CTopPanel.h"
#include "panels/CLeftPanel.h"

std::unique_ptr<CQX_HistoryEntry> CQX_ShopMode::CreateHistoryEntry() const
{
    return MakeHistoryEntry(CTopPanel::getInstance().GetShopPicturePath());
}

void CQX_ShopMode::Activate()
{
    CQX_BaseMode::Activate();
    CLeftPanel::getInstance().Expand();
}

void CQX_ShopMode::Deactivate()
{
    CLeftPanel::getInstance().ClearSeller();
}

void CQX_ShopMode::RestoreHistoryEntry(const CQX_HistoryEntry& entry)
{
    CTopPanel::getInstance().SetShopHeader(entry.snapshot.nick, entry.extra);
}
