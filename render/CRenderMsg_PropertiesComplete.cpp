#include "render/CRenderMsg_PropertiesComplete.h"

#include "render/CLeftPanelTarget.h"

CRenderMsg_PropertiesComplete::CRenderMsg_PropertiesComplete(int searchId) : CRenderMsg(0, searchId)
{
}

void CRenderMsg_PropertiesComplete::Process()
{
    if (CLeftPanelTarget* panel = CLeftPanelTarget::Get())
        panel->BuildPropertyTree();
}

const char* CRenderMsg_PropertiesComplete::GetName() const
{
    return "CRenderMsg_PropertiesComplete";
}
