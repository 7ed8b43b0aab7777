#pragma once
#include <Poco/RWLock.h>

#include <map>
#include <utility>

// An ordered map guarded by a readers/writer lock. Specialised containers add
// their own operations; each takes the read lock to look up or copy and the
// write lock to change anything, and hands out copies, never pointers into
// the map (unless it says otherwise).
template <typename K, typename V>
class CTaobaoMap
{
public:
    CTaobaoMap() = default;
    CTaobaoMap(const CTaobaoMap&) = delete;
    CTaobaoMap& operator=(const CTaobaoMap&) = delete;
    virtual ~CTaobaoMap() = default;

    // Keeps the entry already stored under the key, if any.
    virtual bool insert(std::pair<K, V> entry)
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        return m_map.insert(std::move(entry)).second;
    }

    virtual void clear()
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_map.clear();
    }

    bool contains(const K& key) const
    {
        Poco::RWLock::ScopedReadLock lock(m_lock);
        return m_map.count(key) != 0;
    }

    bool copy(const K& key, V& out) const
    {
        Poco::RWLock::ScopedReadLock lock(m_lock);
        auto it = m_map.find(key);
        if (it == m_map.end())
            return false;
        out = it->second;
        return true;
    }

    size_t size() const
    {
        Poco::RWLock::ScopedReadLock lock(m_lock);
        return m_map.size();
    }

protected:
    mutable Poco::RWLock m_lock;
    std::map<K, V> m_map;
};
