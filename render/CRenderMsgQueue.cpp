#include "render/CRenderMsgQueue.h"

#include <algorithm>

// Never destroyed: messages still queued at exit may hold textures whose
// device is gone by then.
CRenderMsgQueue& CRenderMsgQueue::getInstance()
{
    static CRenderMsgQueue* instance = new CRenderMsgQueue;
    return *instance;
}

void CRenderMsgQueue::PushUrgentMsgToHead(Msg msg)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_urgent.push_front(std::move(msg));
    NotePeak();
}

void CRenderMsgQueue::PushUrgentMsg(Msg msg)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_urgent.push_back(std::move(msg));
    NotePeak();
}

void CRenderMsgQueue::PushNormalMsg(Msg msg)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_normal.push_back(std::move(msg));
    NotePeak();
}

void CRenderMsgQueue::NotePeak()
{
    m_peak = std::max(m_peak, m_urgent.size() + m_normal.size());
}

size_t CRenderMsgQueue::PeakSize() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_peak;
}

// Messages dropped under the lock are deleted after it is let go (declared
// before the guard): deleting a prepared card posts to the render worker.
CRenderMsgQueue::Msg CRenderMsgQueue::PopUrgentMsg()
{
    List stale;
    std::lock_guard<std::mutex> guard(m_lock);
    return PopValid(m_urgent, stale);
}

CRenderMsgQueue::Msg CRenderMsgQueue::PopNormalMsg()
{
    List stale;
    std::lock_guard<std::mutex> guard(m_lock);
    return PopValid(m_normal, stale);
}

CRenderMsgQueue::Msg CRenderMsgQueue::PopValid(List& list, List& stale)
{
    while (stale.size() < kMaxStaleDeletionsPerPop && !list.empty()) {
        if (IsPlaceable(*list.front())) {
            Msg msg = std::move(list.front());
            list.pop_front();
            return msg;
        }
        stale.splice(stale.end(), list, list.begin());
    }
    return nullptr;
}

bool CRenderMsgQueue::IsPlaceable(const CRenderMsg& msg)
{
    return msg.IsValid() && msg.IsKept();
}

void CRenderMsgQueue::DropUnplaceable()
{
    List dropped;
    std::lock_guard<std::mutex> guard(m_lock);
    for (List* list : {&m_urgent, &m_normal}) {
        for (auto it = list->begin(); it != list->end();) {
            auto next = std::next(it);
            if (!IsPlaceable(**it))
                dropped.splice(dropped.end(), *list, it);
            it = next;
        }
    }
}

bool CRenderMsgQueue::ProcessNextMsg()
{
    Msg msg = PopUrgentMsg();
    if (!msg)
        msg = PopNormalMsg();
    if (!msg)
        return false;
    msg->Process();
    return true;
}

void CRenderMsgQueue::Clear()
{
    List urgent, normal;
    std::lock_guard<std::mutex> guard(m_lock);
    urgent.swap(m_urgent);
    normal.swap(m_normal);
}

size_t CRenderMsgQueue::Size() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_urgent.size() + m_normal.size();
}
