#pragma once
#include "render/CRenderMsg.h"
#include "taobao/CTaobaoProductInfoDetails.h"

// A product's details with its seller's credit and good rate, for the detail window.
class CRenderMsg_ShowProductDetail_Shop_Completed : public CRenderMsg
{
public:
    CRenderMsg_ShowProductDetail_Shop_Completed(int position, int searchId, const CTaobaoProductInfoDetails& details);

    void Process() override;
    const char* GetName() const override;

private:
    CTaobaoProductInfoDetails m_details;
};
