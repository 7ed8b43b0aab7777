#include "mainwnd/CQX_WaitingDisplayList.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<int> Range(int from, int to, int step = 1)
{
    std::vector<int> v;
    for (int i = from; step > 0 ? i <= to : i >= to; i += step)
        v.push_back(i);
    return v;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const auto kNoCards = [](int) { return false; };

}

TEST(WaitingDisplayList, ScreenThenAheadThenBehindThenFurtherAhead)
{
    EXPECT_EQ(CQX_WaitingDisplayList::Build(0, 15, 3, 5, 100, kNoCards),
              Concat({Range(0, 14), Range(15, 29), {0}, Range(30, 44)}));
}

TEST(WaitingDisplayList, NearTheEndTheAheadRangeIsClamped)
{
    EXPECT_EQ(CQX_WaitingDisplayList::Build(30, 45, 3, 5, 40, kNoCards), Concat({Range(24, 44), Range(24, 12, -1)}));
}

TEST(WaitingDisplayList, FewerProductsThanAScreenAreNotClamped)
{
    // total <= e: steps 2 and 4 keep their full range / do not run.
    EXPECT_EQ(CQX_WaitingDisplayList::Build(0, 15, 3, 5, 10, kNoCards), Concat({Range(0, 14), Range(15, 29), {0}}));
}

TEST(WaitingDisplayList, PositionsWithCardsAreSkipped)
{
    const std::set<int> shown = {0, 1, 2, 15, 30};
    auto hasCard = [&](int i) { return shown.count(i) > 0; };
    EXPECT_EQ(CQX_WaitingDisplayList::Build(0, 15, 3, 5, 100, hasCard),
              Concat({Range(3, 14), Range(16, 29), Range(31, 44)}));
}

TEST(WaitingDisplayList, TotalIsCappedAt20000)
{
    // With 50000 results the ahead ranges stop at 19999, as if there were 20000.
    EXPECT_EQ(CQX_WaitingDisplayList::Build(19995, 20010, 3, 5, 50000, kNoCards),
              Concat({Range(19989, 20009), Range(19989, 19977, -1)}));
}
