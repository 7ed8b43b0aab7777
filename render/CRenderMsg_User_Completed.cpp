#include "render/CRenderMsg_User_Completed.h"

#include "render/CLeftPanelTarget.h"
#include "taobao/TaobaoText.h"

CRenderMsg_User_Completed::CRenderMsg_User_Completed(int searchId, std::string nick, std::string credit,
                                                     double goodRate)
    : CRenderMsg(0, searchId), m_nick(std::move(nick)), m_credit(std::move(credit)), m_goodRate(goodRate)
{
}

void CRenderMsg_User_Completed::Process()
{
    CLeftPanelTarget* panel = CLeftPanelTarget::Get();
    if (!panel)
        return;
    std::string shownNick = panel->GetSellerNick();
    AnsiToUTF8(shownNick);
    if (shownNick != m_nick)
        return;
    panel->SetSellerCredit(m_credit, m_goodRate * 100);
    panel->RefreshSellerInfo();
}

const char* CRenderMsg_User_Completed::GetName() const
{
    return "CRenderMsg_User_Completed";
}

bool CRenderMsg_User_Completed::IsValid() const
{
    return true;
}
