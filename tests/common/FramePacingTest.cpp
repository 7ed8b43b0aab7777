#include "common/FramePacing.h"

#include <gtest/gtest.h>

TEST(FramePacing, IdleWallIsHeldToOneFramePer25Ms)
{
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1010, 0, false), 15);
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1025, 0, false), 0);
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1040, 0, false), 0);
}

TEST(FramePacing, MovingWallOrBusyControlRunsFreely)
{
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1010, 0, true), 0);
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1010, 1500, false), 0);
    EXPECT_EQ(FramePacing::WaitAfterFrame(1000, 1010, 1010, false), 15);
}

TEST(FramePacing, TicksAreComparedAcrossWrapAround)
{
    EXPECT_EQ(FramePacing::WaitAfterFrame(0xFFFFFFF0u, 0xFFFFFFF5u, 0xFFFFFF00u, false), 20);
    EXPECT_EQ(FramePacing::WaitAfterFrame(0xFFFFFFF0u, 0x00000002u, 0xFFFFFF00u, false), 7);
    EXPECT_EQ(FramePacing::WaitAfterFrame(0xFFFFFFF0u, 0xFFFFFFF5u, 0x10u, false), 0);
}
