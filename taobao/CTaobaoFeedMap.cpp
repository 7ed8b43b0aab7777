#include "taobao/CTaobaoFeedMap.h"

#include "taobao/TaobaoXml.h"

bool CTaobaoFeedMap::copyFeedAt(int index, int sortOrder, CTaobaoProductInfoDetails& out)
{
    Poco::RWLock::ScopedWriteLock lock(m_lock);
    if (!inOrder(index))
        return false;
    SortState wanted = sortStateFor(sortOrder);
    if (m_sortState != wanted)
        sortOrderList(wanted);
    out = *m_order[index];
    return true;
}

CTaobaoFeedMap::SortState CTaobaoFeedMap::sortStateFor(int sortOrder)
{
    if (sortOrder == 3)
        return CreditDescending;
    if (sortOrder == 1)
        return PriceDescending;
    return PriceAscending;
}

void CTaobaoFeedMap::sortOrderList(SortState state)
{
    using Record = const CTaobaoProductInfoDetails*;
    auto byKey = [this](auto key, bool descending) {
        std::stable_sort(m_order.begin(), m_order.end(), [&](Record a, Record b) {
            return descending ? key(a) > key(b) : key(a) < key(b);
        });
    };
    auto price = [](Record r) { return TaobaoXml::toDouble(r->price); };
    auto credit = [](Record r) { return TaobaoXml::toInt(r->credit); };
    if (state == CreditDescending)
        byKey(credit, true);
    else
        byKey(price, state == PriceDescending);
    m_sortState = state;
}
