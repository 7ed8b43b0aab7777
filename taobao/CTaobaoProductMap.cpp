#include "taobao/CTaobaoProductMap.h"

void CTaobaoProductMap::insertProduct(int index, std::unique_ptr<CTaobaoProductInfo> product)
{
    if (!product)
        return;
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    m_map.emplace(index, std::move(product));
}

void CTaobaoProductMap::insertProducts(const std::vector<int>& indices, Products products)
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    for (size_t i = 0; i < indices.size() && i < products.size(); ++i) {
        if (products[i])
            m_map.emplace(indices[i], std::move(products[i]));
    }
}

bool CTaobaoProductMap::copyProduct(int index, CTaobaoProductInfo& out) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    auto it = m_map.find(index);
    if (it == m_map.end())
        return false;
    out = *it->second;
    return true;
}

bool CTaobaoProductMap::copyPictureURL(int index, std::string& out) const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    auto it = m_map.find(index);
    if (it == m_map.end())
        return false;
    out = it->second->pic_url;
    return true;
}

bool CTaobaoProductMap::empty() const
{
    Poco::RWLock::ScopedReadLock lock(m_lock);
    return m_map.empty();
}
