#pragma once
#include "render/CHeavyCostRenderMsg.h"
#include "render/CWallView.h"

#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>

// The render worker's inbox. The worker blocks until there is work and is
// then served the message whose card is nearest to what the user sees.
class CHeavyCostRenderMsgQueue
{
public:
    using Msg = std::unique_ptr<CHeavyCostRenderMsg>;

    static CHeavyCostRenderMsgQueue& getInstance();

    void PushToTail(Msg msg);
    void PushToHead(Msg msg);

    // Blocks until a push (or Wake), then returns the first valid message
    // inside the visible range (or served first), else the valid one nearest
    // to its centre (the front-most among equals). Null when nothing valid is
    // left. Stale messages met on the way are deleted.
    Msg Pop();
    // The selection step of Pop, without waiting.
    Msg SelectNearest(const CWallView::Range& range);

    // Lets a blocked Pop return, so a stopping worker can see its flag.
    void Wake();

    // Deletes every message; the count of pushes keeps its value, so later
    // pops may return null.
    void Clear();
    // Deletes every message of a past search or far from the screen.
    void DropUnplaceable();
    // The most messages the queue held at once, for the benchmarks.
    size_t PeakSize() const;
    size_t Size() const;

    CHeavyCostRenderMsgQueue();
    CHeavyCostRenderMsgQueue(const CHeavyCostRenderMsgQueue&) = delete;
    CHeavyCostRenderMsgQueue& operator=(const CHeavyCostRenderMsgQueue&) = delete;

private:
    void Signal();

    mutable std::mutex m_lock;
    std::condition_variable m_signalled;
    // Pushes and wakes not yet met by a pop; unbounded, so no push can fail.
    size_t m_signals = 0;
    std::list<Msg> m_list;
    size_t m_peak = 0;
};
