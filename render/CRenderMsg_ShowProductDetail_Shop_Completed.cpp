#include "render/CRenderMsg_ShowProductDetail_Shop_Completed.h"

#include "render/CDetailWindowTarget.h"

CRenderMsg_ShowProductDetail_Shop_Completed::CRenderMsg_ShowProductDetail_Shop_Completed(int position, int searchId, const CTaobaoProductInfoDetails& details)
    : CRenderMsg(position, searchId), m_details(details)
{
}

void CRenderMsg_ShowProductDetail_Shop_Completed::Process()
{
    if (CDetailWindowTarget* window = CDetailWindowTarget::Get())
        window->ShowSellerInfo(m_position, m_details);
}

const char* CRenderMsg_ShowProductDetail_Shop_Completed::GetName() const
{
    return "CRenderMsg_ShowProductDetail_Shop_Completed";
}
