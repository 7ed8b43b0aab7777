#include "render/CRenderMsg_ShowProductDetailsSnapshot.h"

#include "render/CDetailWindowTarget.h"

CRenderMsg_ShowProductDetailsSnapshot::CRenderMsg_ShowProductDetailsSnapshot(int position, int searchId, const CTaobaoProductInfoDetails& details)
    : CRenderMsg(position, searchId), m_details(details)
{
}

void CRenderMsg_ShowProductDetailsSnapshot::Process()
{
    if (CDetailWindowTarget* window = CDetailWindowTarget::Get())
        window->ShowDetails(m_position, m_details);
}

const char* CRenderMsg_ShowProductDetailsSnapshot::GetName() const
{
    return "CRenderMsg_ShowProductDetailsSnapshot";
}
