#include "mainwnd/CQX_TimerList.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TimerList, TimersFireOnceWhenDueInAnyOrder)
{
    CQX_TimerList timers;
    std::vector<int> fired;
    auto record = [&](int v) { fired.push_back(v); };
    timers.SetClock(1000);
    timers.AddTimer(1, record);
    timers.SetClock(2000);
    timers.AddTimer(2, record);

    timers.SetClock(3999);
    EXPECT_FALSE(timers.IsDue());
    timers.SetClock(4000);
    ASSERT_TRUE(timers.IsDue());
    timers.FireDueTimers();
    EXPECT_EQ(fired, std::vector<int>{1});
    EXPECT_EQ(timers.Count(), 1u);
    EXPECT_FALSE(timers.IsDue());

    timers.SetClock(5000);
    timers.FireDueTimers();
    EXPECT_EQ(fired, (std::vector<int>{1, 2}));
    EXPECT_EQ(timers.Count(), 0u);
    timers.SetClock(90000);
    EXPECT_FALSE(timers.IsDue());
}

TEST(TimerList, ACallbackMayAddATimer)
{
    CQX_TimerList timers;
    int calls = 0;
    timers.SetClock(0);
    timers.AddTimer(7, [&](int) {
        ++calls;
        timers.AddTimer(8, [&](int) { ++calls; });
    });
    timers.SetClock(3000);
    timers.FireDueTimers();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(timers.Count(), 1u);
    timers.SetClock(6000);
    EXPECT_TRUE(timers.IsDue());
    timers.FireDueTimers();
    EXPECT_EQ(calls, 2);
}

TEST(TimerList, DueTicksWrapAround)
{
    CQX_TimerList timers;
    int calls = 0;
    timers.SetClock(0xFFFFFF00u);
    timers.AddTimer(0, [&](int) { ++calls; });
    timers.SetClock(0x00000100u);
    EXPECT_FALSE(timers.IsDue());
    timers.SetClock(0x00000AB8u);
    ASSERT_TRUE(timers.IsDue());
    timers.FireDueTimers();
    EXPECT_EQ(calls, 1);
}
