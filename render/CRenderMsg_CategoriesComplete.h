#pragma once
#include "render/CRenderMsg.h"

// The categories of the current search are known: the left panel rebuilds its category tree.
class CRenderMsg_CategoriesComplete : public CRenderMsg
{
public:
    explicit CRenderMsg_CategoriesComplete(int searchId);

    void Process() override;
    const char* GetName() const override;
};
