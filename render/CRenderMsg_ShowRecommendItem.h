#pragma once
#include "render/CHeavyCostProductRenderMsg.h"

// The card of one recommendation while the user roams; the position is the
// recommendation's index in the current class.
class CRenderMsg_ShowRecommendItem : public CHeavyCostProductRenderMsg
{
public:
    CRenderMsg_ShowRecommendItem(int position, int searchId);

    void Process() override;
    const char* GetName() const override;
    bool PreRender(std::set<int>& preRendered) override;
};
