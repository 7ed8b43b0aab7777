#pragma once
#include "render/CRenderMsg.h"

// The property values of the searched category are known: the left panel rebuilds its property tree.
class CRenderMsg_PropertiesComplete : public CRenderMsg
{
public:
    explicit CRenderMsg_PropertiesComplete(int searchId);

    void Process() override;
    const char* GetName() const override;
};
