#include "render/CRenderMsg_CategoriesComplete.h"

#include "render/CLeftPanelTarget.h"

CRenderMsg_CategoriesComplete::CRenderMsg_CategoriesComplete(int searchId) : CRenderMsg(0, searchId)
{
}

void CRenderMsg_CategoriesComplete::Process()
{
    if (CLeftPanelTarget* panel = CLeftPanelTarget::Get())
        panel->BuildCategoryTree();
}

const char* CRenderMsg_CategoriesComplete::GetName() const
{
    return "CRenderMsg_CategoriesComplete";
}
