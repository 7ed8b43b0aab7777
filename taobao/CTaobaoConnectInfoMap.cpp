#include "taobao/CTaobaoConnectInfoMap.h"

#include "mainwnd/CQX_NoticeBoard.h"

void CTaobaoConnectInfoMap::markRequested(int key)
{
    insert({key, true});
}

bool CTaobaoConnectInfoMap::isRequested(int key) const
{
    return contains(key);
}

void CTaobaoConnectInfoMap::setTotal(int total)
{
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_total = total;
    }
    CQX_NoticeBoard& board = CQX_NoticeBoard::getInstance();
    if (total > 0)
        board.SetState(CQX_NoticeBoard::ResultsPresent);
    else
        board.SetStateUnless(CQX_NoticeBoard::NoSearchResult, CQX_NoticeBoard::ResultsPresent);
}

int CTaobaoConnectInfoMap::getTotal() const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    return m_total;
}

void CTaobaoConnectInfoMap::clear()
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_map.clear();
    m_total = 0;
}
