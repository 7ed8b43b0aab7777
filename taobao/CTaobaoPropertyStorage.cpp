#include "taobao/CTaobaoPropertyStorage.h"

bool CTaobaoPropertyStorage::setProperties(const std::vector<CTaobaoPropertyEntry>& entries,
                                           const std::string& cid, const std::string& searchCid)
{
    if (cid != searchCid)
        return false;
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_cid = cid;
    m_entries = entries;
    return true;
}

bool CTaobaoPropertyStorage::copyProperties(const std::string& cid,
                                            std::vector<CTaobaoPropertyEntry>& out) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    if (cid != m_cid)
        return false;
    out.insert(out.end(), m_entries.begin(), m_entries.end());
    return true;
}

bool CTaobaoPropertyStorage::needsProperties(const std::string& cid) const
{
    if (cid.empty())
        return false;
    Poco::RWLock::ScopedReadLock lock(m_lock);
    return cid != m_cid || m_entries.empty();
}

void CTaobaoPropertyStorage::clear()
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_cid.clear();
    m_entries.clear();
}
