#include "render/CRenderMsgQueue.h"

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
}

void CRenderMsgQueue::PushUrgentMsg(Msg msg)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_urgent.push_back(std::move(msg));
}

void CRenderMsgQueue::PushNormalMsg(Msg msg)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_normal.push_back(std::move(msg));
}

CRenderMsgQueue::Msg CRenderMsgQueue::PopUrgentMsg()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return PopValid(m_urgent);
}

CRenderMsgQueue::Msg CRenderMsgQueue::PopNormalMsg()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return PopValid(m_normal);
}

CRenderMsgQueue::Msg CRenderMsgQueue::PopValid(List& list)
{
    for (int stale = 0; stale < kMaxStaleDeletionsPerPop && !list.empty(); ) {
        Msg msg = std::move(list.front());
        list.pop_front();
        if (msg->IsValid())
            return msg;
        ++stale;
    }
    return nullptr;
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
    std::lock_guard<std::mutex> guard(m_lock);
    m_urgent.clear();
    m_normal.clear();
}

size_t CRenderMsgQueue::Size() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_urgent.size() + m_normal.size();
}
