#pragma once
#include "render/CRenderMsg.h"

#include <string>

// The affiliate click URL of a product, for the detail window's open-page button.
class CRenderMsg_ShowProductDetail_TAOBAOKEProductURL : public CRenderMsg
{
public:
    CRenderMsg_ShowProductDetail_TAOBAOKEProductURL(int position, int searchId, std::string url);

    void Process() override;
    const char* GetName() const override;

private:
    std::string m_url;
};
