#pragma once
#include "taobao/CTaobaoMap.h"

// The result pages already asked for in the current browse (by request key)
// and the number of results the marketplace reported for it.
class CTaobaoConnectInfoMap : public CTaobaoMap<int, bool>
{
public:
    void markRequested(int key);
    bool isRequested(int key) const;

    // Also tells the notice board whether the browse found anything.
    void setTotal(int total);
    int getTotal() const;

    void clear() override;

private:
    int m_total = 0;
};
