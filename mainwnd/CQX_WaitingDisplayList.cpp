#include "mainwnd/CQX_WaitingDisplayList.h"

#include <algorithm>

std::vector<int> CQX_WaitingDisplayList::Build(int first, int last, int rows, int columns, int total,
                                               const std::function<bool(int)>& hasCard)
{
    total = std::min(total, kMaxProducts);
    const int e = rows * columns;
    const int start = std::max(first - 2 * rows, 0);
    std::vector<int> list;
    auto addIfMissing = [&](int i) {
        if (!hasCard(i))
            list.push_back(i);
    };

    for (int i = start; i < last; ++i)
        addIfMissing(i);

    int base = last;
    if (last - start < 2 * e) {
        int h = last + e;
        if (total > e && h >= total)
            h = total - 1;
        for (int i = last; i < h; ++i)
            addIfMissing(i);
        base = std::max(h, last);
    }

    const double behindLimit = start - 0.8 * e;
    for (int i = start; i >= 0 && i >= behindLimit; --i)
        addIfMissing(i);

    if (total > e) {
        const int end = std::min(base + e, total - 1);
        for (int i = base; i < end; ++i)
            addIfMissing(i);
    }
    return list;
}
