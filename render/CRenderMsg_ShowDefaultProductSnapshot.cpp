#include "render/CRenderMsg_ShowDefaultProductSnapshot.h"

#include "render/CWallView.h"
#include "scene/CProductWall.h"

void CRenderMsg_ShowDefaultProductSnapshot::Process()
{
    if (m_position >= 0)
        CProductWall::getInstance().MarkPlaceholder(m_position);
}

const char* CRenderMsg_ShowDefaultProductSnapshot::GetName() const
{
    return "CRenderMsg_ShowDefaultProductSnapshot";
}

bool CRenderMsg_ShowDefaultProductSnapshot::IsKept() const
{
    return CWallView::getInstance().IsKept(m_position);
}
