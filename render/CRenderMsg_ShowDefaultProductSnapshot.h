#pragma once
#include "render/CRenderMsg.h"

// A product's picture is on its way: its slot shows a placeholder panel.
class CRenderMsg_ShowDefaultProductSnapshot : public CRenderMsg
{
public:
    using CRenderMsg::CRenderMsg;

    void Process() override;
    const char* GetName() const override;
    bool IsKept() const override;
};
