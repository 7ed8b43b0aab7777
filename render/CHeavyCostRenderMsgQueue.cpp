#include "render/CHeavyCostRenderMsgQueue.h"

#include <climits>
#include <cstdlib>

// Never destroyed, like the render thread's queue.
CHeavyCostRenderMsgQueue& CHeavyCostRenderMsgQueue::getInstance()
{
    static CHeavyCostRenderMsgQueue* instance = new CHeavyCostRenderMsgQueue;
    return *instance;
}

CHeavyCostRenderMsgQueue::CHeavyCostRenderMsgQueue() : m_available(0, kMaxPending)
{
}

// Poco's semaphore throws SystemException "cannot signal semaphore" when it
// cannot be released, and "wait for semaphore failed" when waiting fails.
void CHeavyCostRenderMsgQueue::PushToTail(Msg msg)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_list.push_back(std::move(msg));
    }
    m_available.set();
}

void CHeavyCostRenderMsgQueue::PushToHead(Msg msg)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_list.push_front(std::move(msg));
    }
    m_available.set();
}

void CHeavyCostRenderMsgQueue::Wake()
{
    m_available.set();
}

CHeavyCostRenderMsgQueue::Msg CHeavyCostRenderMsgQueue::Pop()
{
    m_available.wait();
    return SelectNearest(CWallView::getInstance().VisibleRange());
}

CHeavyCostRenderMsgQueue::Msg CHeavyCostRenderMsgQueue::SelectNearest(const CWallView::Range& range)
{
    std::lock_guard<std::mutex> guard(m_lock);
    Msg candidate;
    int bestDistance = INT_MAX;
    for (auto it = m_list.begin(); it != m_list.end();) {
        const int position = (*it)->GetPosition();
        const bool visible = (*it)->IsServedFirst() || (range.first <= position && position <= range.last);
        const int distance = std::abs(position - range.centre);
        if (!visible && distance >= bestDistance) {
            ++it;
            continue;
        }
        Msg msg = std::move(*it);
        it = m_list.erase(it);
        if (!msg->IsValid())
            continue;
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
    std::lock_guard<std::mutex> guard(m_lock);
    m_list.clear();
}

size_t CHeavyCostRenderMsgQueue::Size() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_list.size();
}
