#include "mainwnd/CQX_NoticeBoard.h"

CQX_NoticeBoard& CQX_NoticeBoard::getInstance()
{
    static CQX_NoticeBoard instance;
    return instance;
}

void CQX_NoticeBoard::SetState(int state, uint32_t expiry)
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    m_state = state;
    m_expiry = expiry;
}

void CQX_NoticeBoard::SetStateUnless(int state, int kept)
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    if (m_state == kept)
        return;
    m_state = state;
    m_expiry = 0;
}

int CQX_NoticeBoard::GetState() const
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    return m_state;
}

uint32_t CQX_NoticeBoard::GetExpiry() const
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    return m_expiry;
}
