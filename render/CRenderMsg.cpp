#include "render/CRenderMsg.h"

#include "mainwnd/CQX_GlobalVariable.h"

std::atomic<int> CRenderMsg::s_liveCount{0};

CRenderMsg::CRenderMsg(int position, int searchId) : m_position(position), m_searchId(searchId)
{
    s_liveCount.fetch_add(1);
}

CRenderMsg::~CRenderMsg()
{
    s_liveCount.fetch_sub(1);
}

const char* CRenderMsg::GetName() const
{
    return "CRenderMsg";
}

bool CRenderMsg::IsValid() const
{
    return m_searchId == CQX_GlobalVariable::getInstance().GetSearchID();
}
