#pragma once
#include "render/CRenderMsg.h"
#include "taobao/CTaobaoProductInfoDetails.h"

// A product's details for the detail window, before its seller's credit is known.
class CRenderMsg_ShowProductDetailsSnapshot : public CRenderMsg
{
public:
    CRenderMsg_ShowProductDetailsSnapshot(int position, int searchId, const CTaobaoProductInfoDetails& details);

    void Process() override;
    const char* GetName() const override;

private:
    CTaobaoProductInfoDetails m_details;
};
