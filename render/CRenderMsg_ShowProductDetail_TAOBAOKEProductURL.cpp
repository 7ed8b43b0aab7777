#include "render/CRenderMsg_ShowProductDetail_TAOBAOKEProductURL.h"

#include "render/CDetailWindowTarget.h"

CRenderMsg_ShowProductDetail_TAOBAOKEProductURL::CRenderMsg_ShowProductDetail_TAOBAOKEProductURL(int position,
                                                                                                 int searchId,
                                                                                                 std::string url)
    : CRenderMsg(position, searchId), m_url(std::move(url))
{
}

void CRenderMsg_ShowProductDetail_TAOBAOKEProductURL::Process()
{
    if (CDetailWindowTarget* window = CDetailWindowTarget::Get())
        window->SetDetailURL(m_position, m_url);
}

const char* CRenderMsg_ShowProductDetail_TAOBAOKEProductURL::GetName() const
{
    return "CRenderMsg_ShowProductDetail_TAOBAOKEProductURL";
}
