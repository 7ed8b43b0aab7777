#include "taobao/CTaobaoCategoryMap.h"

#include <set>

void CTaobaoCategoryMap::addCategories(std::vector<CTaobaoCategory> records, const Strings& counts)
{
    std::set<std::string> offered;
    for (const CTaobaoCategory& record : records)
        offered.insert(record.cid);

    Poco::RWLock::ScopedWriteLock lock(m_lock);
    for (size_t i = 0; i < records.size(); ++i) {
        if (offered.count(records[i].parent_cid))
            continue;
        std::string count = i < counts.size() ? counts[i] : std::string();
        if (m_map.emplace(records[i].cid, count).second)
            m_records.push_back(std::make_unique<CTaobaoCategory>(std::move(records[i])));
    }
}

bool CTaobaoCategoryMap::getChildren(const std::string& parentCid,
                                     std::vector<const CTaobaoCategory*>& records,
                                     Strings& counts) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    bool found = false;
    for (const auto& record : m_records) {
        if (!parentCid.empty() && record->parent_cid != parentCid)
            continue;
        records.push_back(record.get());
        counts.push_back(m_map.at(record->cid));
        found = true;
    }
    return found;
}

bool CTaobaoCategoryMap::isParentCategory(const std::string& cid) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    for (const auto& record : m_records) {
        if (record->cid == cid)
            return record->is_parent;
    }
    return true;
}

bool CTaobaoCategoryMap::hasChildren(const std::string& cid) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    for (const auto& record : m_records) {
        if (record->parent_cid == cid)
            return true;
    }
    return false;
}

void CTaobaoCategoryMap::clear()
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_records.clear();
    m_map.clear();
}
