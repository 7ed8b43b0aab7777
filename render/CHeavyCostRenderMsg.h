#pragma once
#include "render/CRenderMsg.h"

#include <set>

// A message whose work is too slow for the render thread (card drawing,
// picture decoding): the render worker prepares it first, and only a
// prepared message goes on to the render thread.
class CHeavyCostRenderMsg : public CRenderMsg
{
public:
    using CRenderMsg::CRenderMsg;

    // Runs on the render worker. preRendered: the positions whose cards the
    // worker already prepared in this search. True passes the message on to
    // the render thread; false drops it.
    virtual bool PreRender(std::set<int>& preRendered) = 0;

    // Served in queue order before any card, wherever the user looks.
    virtual bool IsServedFirst() const { return false; }
    // Takes over what a newer message of the same kind carries, so that
    // queued messages of that kind do not pile up; false when it cannot.
    virtual bool Absorb(CHeavyCostRenderMsg&) { return false; }
};
