#include "taobao/CTaobaoCategoryCounts.h"

#include <algorithm>

bool CTaobaoCategoryCounts::addCounts(const Strings& ids, const Strings& counts)
{
    size_t pairs = std::min(ids.size(), counts.size());
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_ids.insert(m_ids.end(), ids.begin(), ids.begin() + pairs);
    m_counts.insert(m_counts.end(), counts.begin(), counts.begin() + pairs);
    return !ids.empty();
}

bool CTaobaoCategoryCounts::copyCounts(Strings& ids, Strings& counts) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    ids.insert(ids.end(), m_ids.begin(), m_ids.end());
    counts.insert(counts.end(), m_counts.begin(), m_counts.end());
    return !m_ids.empty();
}

void CTaobaoCategoryCounts::reset()
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_ids.clear();
    m_counts.clear();
}
