#pragma once
#include "render/CHeavyCostRenderMsg.h"

#include <vector>

// The wall dropped the cards at these positions: the worker forgets that it
// prepared them, so they are prepared again when the user scrolls back.
class CHeavyCostMsg_ProductCleanedInRenderThread : public CHeavyCostRenderMsg
{
public:
    CHeavyCostMsg_ProductCleanedInRenderThread(int searchId, std::vector<int> positions);

    void Process() override;
    const char* GetName() const override;
    bool PreRender(std::set<int>& preRendered) override;
    // Its position means nothing: it must run before the cards it lets be
    // prepared again, which the user may be scrolling back to right now.
    bool IsServedFirst() const override { return true; }
    // One clean-up of a search waits at the head, however many frames collect cards.
    bool Absorb(CHeavyCostRenderMsg& newer) override;

private:
    std::vector<int> m_positions;
};
