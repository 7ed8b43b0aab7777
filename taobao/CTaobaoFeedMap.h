#pragma once
#include "taobao/CTaobaoOrderedMap.h"
#include "taobao/CTaobaoProductInfoDetails.h"

#include <atomic>
#include <string>
#include <vector>

// A saved product list (viewed today, favourites) keyed by num_iid. It is
// shown in insertion order until a browse asks for a sorted position.
class CTaobaoFeedMap : public CTaobaoOrderedMap<CTaobaoProductInfoDetails>
{
public:
    enum SortState
    {
        InsertionOrder = 0,
        PriceDescending = 1,
        PriceAscending = 2,
        CreditDescending = 3,
    };

    // False, and nothing stored, when the num_iid is already in the list.
    bool addFeed(const CTaobaoProductInfoDetails& record) { return insert({record.num_iid, record}); }
    bool removeFeed(const std::string& num_iid) { return remove(num_iid); }
    bool containsFeed(const std::string& num_iid) const { return contains(num_iid); }
    bool copyFeed(const std::string& num_iid, CTaobaoProductInfoDetails& out) const { return copy(num_iid, out); }
    // Sorts the list as the browse's sort order asks (3 credit descending,
    // 1 price descending, anything else price ascending), then copies position index.
    bool copyFeedAt(int index, int sortOrder, CTaobaoProductInfoDetails& out);
    bool copyAllFeeds(std::vector<CTaobaoProductInfoDetails>& out) const { return copyAll(out); }
    int feedCount() const { return count(); }

    // The list is read from its file once per run: true for the one caller
    // that should load it, false ever after (also when that load failed).
    bool beginLoad() { return !m_loaded.exchange(true); }
    bool isLoaded() const { return m_loaded.load(); }

private:
    void orderChanged() override { m_sortState = InsertionOrder; }
    static SortState sortStateFor(int sortOrder);
    void sortOrderList(SortState state);

    SortState m_sortState = InsertionOrder;
    std::atomic<bool> m_loaded{false};
};
