#include "mainwnd/CQX_BaseMode.h"

#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "panels/CLeftPanel.h"
#include "taobao/CTaobaoDataStore.h"

CQX_MainWnd* CQX_BaseMode::Owner()
{
    return CQX_ModeManager::getInstance().GetOwner();
}

void CQX_BaseMode::Leave()
{
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::None);
    if (CQX_MainWnd* owner = Owner())
        owner->ClearWallAndPanels();
}

void CQX_BaseMode::Display(const std::vector<int>& positions)
{
    if (CQX_MainWnd* owner = Owner())
        owner->DownloadProducts(positions);
}

int CQX_BaseMode::GetProductCount() const
{
    return CTaobaoDataStore::getInstance().connectInfo.getTotal();
}

void CQX_BaseMode::OnClickProduct(int position)
{
    if (CQX_MainWnd* owner = Owner())
        owner->OpenProduct(position);
}

void CQX_BaseMode::EnterShop(const std::string& nick, const std::string& picturePath, bool freshCondition)
{
    CQX_ModeManager::getInstance().SwitchMode(ModeShop);
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    if (freshCondition)
        condition.ResetCondition();
    condition.nick = nick;
    CTopPanel::getInstance().SetShopHeader(nick, picturePath);
    CLeftPanel::getInstance().SetSeller(nick, "", -0.0);
}

std::unique_ptr<CQX_HistoryEntry> CQX_BaseMode::MakeHistoryEntry(std::string extra) const
{
    auto entry = std::make_unique<CQX_HistoryEntry>();
    entry->modeKind = GetModeKind();
    entry->firstIndex = Owner() ? Owner()->GetFirstVisibleIndex() : 0;
    entry->snapshot = CQX_SearchCondition::getInstance().Snapshot();
    entry->extra = std::move(extra);
    return entry;
}

void CQX_BaseMode::Activate()
{
    CTopPanel::getInstance().ShowModeView(GetModeKind());
}
