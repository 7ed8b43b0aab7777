#pragma once
#include "render/CRenderMsg.h"

#include <list>
#include <memory>
#include <mutex>

// The render thread's inbox: an urgent list served before a normal list.
// Any thread may push; only the render thread pops, and it never blocks here
// longer than one list operation takes.
class CRenderMsgQueue
{
public:
    using Msg = std::unique_ptr<CRenderMsg>;

    // Stale messages deleted by one pop at most, so one idle call stays short.
    static constexpr size_t kMaxStaleDeletionsPerPop = 5;

    static CRenderMsgQueue& getInstance();

    void PushUrgentMsgToHead(Msg msg);
    void PushUrgentMsg(Msg msg);
    void PushNormalMsg(Msg msg);

    // The first valid message of the list, deleting stale ones on the way;
    // null when the list is empty or after the fifth stale message.
    Msg PopUrgentMsg();
    Msg PopNormalMsg();

    // Deletes every message of a past search or far from the screen, so a
    // card that can no longer be placed lets go of its textures at once.
    void DropUnplaceable();

    // Runs and deletes one message, urgent first. False when none was ready.
    bool ProcessNextMsg();

    void Clear();
    size_t Size() const;
    // The most messages the queue held at once, for the benchmarks.
    size_t PeakSize() const;

    CRenderMsgQueue() = default;
    CRenderMsgQueue(const CRenderMsgQueue&) = delete;
    CRenderMsgQueue& operator=(const CRenderMsgQueue&) = delete;

private:
    using List = std::list<Msg>;
    Msg PopValid(List& list, List& stale);
    void NotePeak();
    static bool IsPlaceable(const CRenderMsg& msg);

    mutable std::mutex m_lock;
    List m_urgent;
    List m_normal;
    size_t m_peak = 0;
};
