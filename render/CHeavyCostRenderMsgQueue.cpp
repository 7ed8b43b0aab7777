#include "render/CHeavyCostRenderMsgQueue.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

// Never destroyed, like the render thread's queue.
CHeavyCostRenderMsgQueue& CHeavyCostRenderMsgQueue::getInstance()
{
    static CHeavyCostRenderMsgQueue* instance = new CHeavyCostRenderMsgQueue;
    return *instance;
}

CHeavyCostRenderMsgQueue::CHeavyCostRenderMsgQueue() = default;

void CHeavyCostRenderMsgQueue::PushToTail(Msg msg)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_list.push_back(std::move(msg));
        m_peak = std::max(m_peak, m_list.size());
        ++m_signals;
    }
    m_signalled.notify_one();
}

void CHeavyCostRenderMsgQueue::PushToHead(Msg msg)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_list.empty() && m_list.front()->Absorb(*msg))
            return;
        m_list.push_front(std::move(msg));
        m_peak = std::max(m_peak, m_list.size());
        ++m_signals;
    }
    m_signalled.notify_one();
}

void CHeavyCostRenderMsgQueue::Wake()
{
    Signal();
}

void CHeavyCostRenderMsgQueue::Signal()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_signals;
    }
    m_signalled.notify_one();
}

CHeavyCostRenderMsgQueue::Msg CHeavyCostRenderMsgQueue::Pop()
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_signalled.wait(lock, [this] { return m_signals > 0; });
        --m_signals;
    }
    return SelectNearest(CWallView::getInstance().VisibleRange());
}

CHeavyCostRenderMsgQueue::Msg CHeavyCostRenderMsgQueue::SelectNearest(const CWallView::Range& range)
{
    std::list<Msg> stale;
    std::lock_guard<std::mutex> guard(m_lock);
    Msg candidate;
    int bestDistance = INT_MAX;
    for (auto it = m_list.begin(); it != m_list.end();) {
        // Far from the screen: left for the render thread to drop, so its
        // claim ends where the wall asks for positions again.
        if (!(*it)->IsKept()) {
            ++it;
            continue;
        }
        const int position = (*it)->GetPosition();
        const bool visible = (*it)->IsServedFirst() || (range.first <= position && position <= range.last);
        const int distance = std::abs(position - range.centre);
        if (!visible && distance >= bestDistance) {
            ++it;
            continue;
        }
        if (!(*it)->IsValid()) {
            auto next = std::next(it);
            stale.splice(stale.end(), m_list, it);
            it = next;
            continue;
        }
        Msg msg = std::move(*it);
        it = m_list.erase(it);
        if (candidate)
            m_list.push_front(std::move(candidate));
        if (visible)
            return msg;
        candidate = std::move(msg);
        bestDistance = distance;
    }
    return candidate;
}

void CHeavyCostRenderMsgQueue::Clear()
{
    std::list<Msg> cleared;
    std::lock_guard<std::mutex> guard(m_lock);
    cleared.swap(m_list);
}

void CHeavyCostRenderMsgQueue::DropUnplaceable()
{
    std::list<Msg> dropped;
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto it = m_list.begin(); it != m_list.end();) {
        auto next = std::next(it);
        if (!(*it)->IsValid() || !(*it)->IsKept())
            dropped.splice(dropped.end(), m_list, it);
        it = next;
    }
}

size_t CHeavyCostRenderMsgQueue::PeakSize() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_peak;
}

size_t CHeavyCostRenderMsgQueue::Size() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_list.size();
}
