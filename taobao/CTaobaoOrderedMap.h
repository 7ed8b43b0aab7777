#pragma once
#include "taobao/CTaobaoMap.h"

#include <algorithm>
#include <string>
#include <vector>

// A keyed container that also remembers the order in which it is shown
// (insertion order unless a subclass reorders it).
template <typename V>
class CTaobaoOrderedMap : public CTaobaoMap<std::string, V>
{
public:
    bool insert(std::pair<std::string, V> entry) override
    {
        Poco::RWLock::ScopedWriteLock lock(this->m_lock);
        return insertLocked(std::move(entry)) != nullptr;
    }

    bool remove(const std::string& key)
    {
        Poco::RWLock::ScopedWriteLock lock(this->m_lock);
        auto it = this->m_map.find(key);
        if (it == this->m_map.end())
            return false;
        m_order.erase(std::find(m_order.begin(), m_order.end(), &it->second));
        this->m_map.erase(it);
        return true;
    }

    bool copyAt(int index, V& out) const
    {
        Poco::RWLock::ScopedReadLock lock(this->m_lock);
        if (!inOrder(index))
            return false;
        out = *m_order[index];
        return true;
    }

    // Appends copies in display order; true when there was at least one.
    bool copyAll(std::vector<V>& out) const
    {
        Poco::RWLock::ScopedReadLock lock(this->m_lock);
        for (const V* value : m_order)
            out.push_back(*value);
        return !m_order.empty();
    }

    int count() const
    {
        Poco::RWLock::ScopedReadLock lock(this->m_lock);
        return static_cast<int>(m_order.size());
    }

    void clear() override
    {
        Poco::RWLock::ScopedWriteLock lock(this->m_lock);
        m_order.clear();
        this->m_map.clear();
        orderChanged();
    }

protected:
    // Caller holds the write lock. The stored value, or nullptr when the key
    // was already taken (the stored entry is kept).
    V* insertLocked(std::pair<std::string, V> entry)
    {
        auto inserted = this->m_map.insert(std::move(entry));
        if (!inserted.second)
            return nullptr;
        m_order.push_back(&inserted.first->second);
        orderChanged();
        return &inserted.first->second;
    }

    bool inOrder(int index) const { return index >= 0 && index < static_cast<int>(m_order.size()); }

    // Called under the write lock whenever entries were added or all removed.
    virtual void orderChanged() {}

    std::vector<V*> m_order;
};
