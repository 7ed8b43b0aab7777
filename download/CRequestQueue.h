#pragma once
#include <Poco/RWLock.h>

#include <list>
#include <vector>

// A list of requests that threads hand to each other, guarded by its own
// readers/writer lock: the write lock to change it, the read lock to look.
template <typename T>
class CRequestQueue
{
public:
    void PushBack(const T& item)
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_items.push_back(item);
    }

    void PushFront(const T& item)
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_items.push_front(item);
    }

    void Replace(const std::vector<T>& items)
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_items.assign(items.begin(), items.end());
    }

    // Takes the first item; false when there is none.
    bool Take(T& item)
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        if (m_items.empty())
            return false;
        item = std::move(m_items.front());
        m_items.pop_front();
        return true;
    }

    void Clear()
    {
        Poco::RWLock::ScopedWriteLock lock(m_lock);
        m_items.clear();
    }

    size_t Size() const
    {
        Poco::RWLock::ScopedReadLock lock(m_lock);
        return m_items.size();
    }

private:
    mutable Poco::RWLock m_lock;
    std::list<T> m_items;
};
