#include "render/CRenderMsg_Shop_Completed.h"

#include "render/CLeftPanelTarget.h"
#include "render/CSearchBarTarget.h"
#include "taobao/TaobaoText.h"

CRenderMsg_Shop_Completed::CRenderMsg_Shop_Completed(int searchId, const CTaobaoShopItem& shop)
    : CRenderMsg(0, searchId), m_shop(shop)
{
}

void CRenderMsg_Shop_Completed::Process()
{
    if (CSearchBarTarget* searchBar = CSearchBarTarget::Get()) {
        std::string nick = m_shop.nick;
        AnsiToUTF8(nick);
        searchBar->ShowShopNick(nick);
    }
    if (CLeftPanelTarget* panel = CLeftPanelTarget::Get()) {
        panel->SetBulletin(m_shop.bulletin);
        panel->RefreshBulletin();
    }
}

const char* CRenderMsg_Shop_Completed::GetName() const
{
    return "CRenderMsg_Shop_Completed";
}
