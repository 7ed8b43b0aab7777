#pragma once
#include "render/CRenderMsg.h"
#include "taobao/CTaobaoShopItem.h"

// A shop's profile: its seller in the search bar, its bulletin in the left panel.
class CRenderMsg_Shop_Completed : public CRenderMsg
{
public:
    CRenderMsg_Shop_Completed(int searchId, const CTaobaoShopItem& shop);

    void Process() override;
    const char* GetName() const override;

private:
    CTaobaoShopItem m_shop;
};
