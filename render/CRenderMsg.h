#pragma once
#include "render/CCardClaims.h"

#include <atomic>

// A result travelling to the render thread: it carries its data and knows
// what to do with it there. It belongs to the search it was made for and is
// dropped when the user has moved on to another one.
class CRenderMsg
{
public:
    CRenderMsg(int position, int searchId);
    virtual ~CRenderMsg();
    CRenderMsg(const CRenderMsg&) = delete;
    CRenderMsg& operator=(const CRenderMsg&) = delete;

    // Runs on the render thread, the only thread that may change the GUI and the wall.
    virtual void Process() = 0;
    // For tracing only.
    virtual const char* GetName() const;
    // Still about the current search?
    virtual bool IsValid() const;
    // Still wanted where the wall is now? A card far from the screen would
    // only be collected again: the queues drop it unprepared.
    virtual bool IsKept() const { return true; }

    // The message carries its position's claim until it is gone.
    void HoldClaim(CCardClaims::ClaimPtr claim) { m_claim = std::move(claim); }

    int GetPosition() const { return m_position; }
    int GetSearchID() const { return m_searchId; }

    // Messages alive in the process, so a test can tell that none was lost.
    static int LiveCount() { return s_liveCount.load(); }

protected:
    int m_position;
    int m_searchId;

private:
    CCardClaims::ClaimPtr m_claim;
    static std::atomic<int> s_liveCount;
};
