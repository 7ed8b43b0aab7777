#include "scene/CNumMotion.h"
#include "scene/CScrollMotion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr uint32_t kStart = 100000;

// A motion last updated at kStart, with room to scroll.
CScrollMotion Moving(double velocity, double position = 5000)
{
    CScrollMotion motion(kStart);
    motion.scrollLimit = 1e6;
    motion.scrollPosition = position;
    motion.scrollVelocity = velocity;
    return motion;
}

}

TEST(ScrollMotion, FrictionSlowsByEightTenthsOfAPercentPerMillisecondAndLessWhenFast)
{
    CScrollMotion slow = Moving(5);
    slow.Update(kStart + 1);
    EXPECT_DOUBLE_EQ(slow.scrollVelocity, 5 * (1 - 0.008));
    EXPECT_DOUBLE_EQ(slow.scrollPosition, 5000 + (5 + 4.96) / 2);

    // At 9 and above the wall coasts: the friction is divided by 2.5.
    CScrollMotion fast = Moving(12);
    fast.Update(kStart + 1);
    EXPECT_DOUBLE_EQ(fast.scrollVelocity, 12 * (1 - 0.0032));
    CScrollMotion atNine = Moving(-9);
    atNine.Update(kStart + 10);
    EXPECT_DOUBLE_EQ(atNine.scrollVelocity, -9 * (1 - 0.032));
    CScrollMotion belowNine = Moving(8.99);
    belowNine.Update(kStart + 10);
    EXPECT_DOUBLE_EQ(belowNine.scrollVelocity, 8.99 * (1 - 0.08));
}

TEST(ScrollMotion, VelocityThatWouldChangeSignStopsAndTinyVelocityIsLeftAlone)
{
    // 0.008 x 200 ms would overshoot through zero.
    CScrollMotion motion = Moving(2);
    motion.Update(kStart + 200);
    EXPECT_EQ(motion.scrollVelocity, 0);
    EXPECT_DOUBLE_EQ(motion.scrollPosition, 5000 + 200 * 2 / 2.0);

    CScrollMotion tiny = Moving(0.0009);
    tiny.Update(kStart + 100);
    EXPECT_EQ(tiny.scrollVelocity, 0.0009);
    EXPECT_EQ(tiny.scrollPosition, 5000);

    // Left alone, the wall comes to rest.
    CScrollMotion coasting = Moving(12);
    for (uint32_t t = kStart + 40; t < kStart + 8000; t += 40)
        coasting.Update(t);
    EXPECT_FALSE(coasting.IsMoving());
}

TEST(ScrollMotion, AFrameAfterAPauseOfMoreThanASecondMovesNothing)
{
    CScrollMotion paused = Moving(5);
    paused.Update(kStart + 1001);
    EXPECT_EQ(paused.scrollVelocity, 5);
    EXPECT_EQ(paused.scrollPosition, 5000);
    EXPECT_EQ(paused.lastUpdateTick, kStart + 1001);

    CScrollMotion second = Moving(5);
    second.Update(kStart + 1000);
    EXPECT_LT(second.scrollVelocity, 5);

    // A tick from the past moves nothing either.
    CScrollMotion backwards = Moving(5);
    backwards.Update(kStart - 10);
    EXPECT_EQ(backwards.scrollPosition, 5000);
}

TEST(ScrollMotion, PositionStaysBetweenZeroAndTheLimit)
{
    CScrollMotion start = Moving(-5, 10);
    start.Update(kStart + 20);
    EXPECT_EQ(start.scrollPosition, 0);
    EXPECT_EQ(start.scrollVelocity, 0);

    CScrollMotion end = Moving(5, 990);
    end.scrollLimit = 1000;
    end.autoPlay = true;
    end.autoPlayEndTick = kStart + 100000;
    end.nextImpulseTick = kStart + 50000;
    end.Update(kStart + 20);
    EXPECT_EQ(end.scrollPosition, 1000);
    EXPECT_EQ(end.scrollVelocity, 0);
    EXPECT_FALSE(end.autoPlay);

    // Without a limit (an empty list) the position is not pulled back.
    CScrollMotion empty = Moving(5, 10);
    empty.scrollLimit = 0;
    empty.Update(kStart + 1);
    EXPECT_GT(empty.scrollPosition, 10);
    EXPECT_EQ(empty.scrollVelocity, 0);
}

TEST(ScrollMotion, SwingDampsSpringsBackWhenSlowAndStaysWithin25Degrees)
{
    CScrollMotion swinging = Moving(0);
    swinging.angularVelocity = 0.1;
    swinging.Update(kStart + 10);
    EXPECT_DOUBLE_EQ(swinging.angularVelocity, 0.1 * (1 - 0.08));
    EXPECT_DOUBLE_EQ(swinging.swingAngle, 10 * (0.1 + 0.092) / 2);

    // A slow wall turned by 20 degrees swings back; a fast one does not.
    CScrollMotion slow = Moving(0.5);
    slow.swingAngle = 20;
    slow.Update(kStart + 10);
    EXPECT_DOUBLE_EQ(slow.angularVelocity, -0.00001 * 20 * 10);
    CScrollMotion fast = Moving(2);
    fast.swingAngle = 20;
    fast.Update(kStart + 10);
    EXPECT_EQ(fast.angularVelocity, 0);

    CScrollMotion hard = Moving(0);
    hard.angularVelocity = 30;
    hard.Update(kStart + 100);
    EXPECT_EQ(hard.swingAngle, 25);
    hard.angularVelocity = -30;
    hard.Update(kStart + 200);
    EXPECT_EQ(hard.swingAngle, -25);
}

TEST(ScrollMotion, AutoPlayPushesEveryLevelTimesFourSecondsUntilItsEnd)
{
    CScrollMotion motion = Moving(0);
    motion.speedLevel = 2;
    motion.autoPlay = true;
    motion.nextImpulseTick = kStart + 300;
    motion.autoPlayEndTick = kStart + 20000;
    motion.swingAngle = 3;
    std::vector<uint32_t> impulses;
    for (uint32_t t = kStart + 20; t <= kStart + 30000; t += 20) {
        const uint32_t due = motion.nextImpulseTick;
        motion.Update(t);
        if (motion.nextImpulseTick != due) {
            impulses.push_back(t - kStart);
            // Velocity 12 and a fresh swing, then one 20 ms step of the motion.
            EXPECT_DOUBLE_EQ(motion.scrollVelocity, 12 * (1 - 0.0032 * 20));
            EXPECT_DOUBLE_EQ(motion.angularVelocity, 0.02 * (1 - 0.008 * 20));
            EXPECT_NEAR(motion.swingAngle, 20 * (0.02 + motion.angularVelocity) / 2, 1e-12);
            EXPECT_EQ(motion.nextImpulseTick, t + 8000);
        }
    }
    // Each impulse comes on the first frame after it is due.
    EXPECT_EQ(impulses, (std::vector<uint32_t>{320, 8340, 16360}));
    EXPECT_FALSE(motion.autoPlay);
}

TEST(ScrollMotion, DragTurnsMouseMovementIntoVelocity)
{
    CScrollMotion motion = Moving(0, 500);
    motion.autoPlay = true;
    motion.BeginDrag(400, kStart);
    // 20 pixels to the left in 10 ms: e = 200, made progressive by the power 1.25.
    motion.Drag(380, kStart + 10);
    EXPECT_FALSE(motion.autoPlay);
    EXPECT_NEAR(motion.scrollVelocity, 0.003 * std::pow(200, 1.25), 1e-9);
    EXPECT_NEAR(motion.angularVelocity, 0.004 * -20 / 10.0, 1e-12);
    EXPECT_EQ(motion.lastDragX, 380);
    EXPECT_EQ(motion.lastDragTick, kStart + 10);

    // A drag to the right slows the scroll down or reverses it.
    motion.Drag(480, kStart + 20);
    EXPECT_LT(motion.scrollVelocity, 0);

    // Velocities never leave [-30, 30].
    motion.Drag(0, kStart + 21);
    EXPECT_EQ(motion.scrollVelocity, 30);
    motion.Drag(1280, kStart + 22);
    EXPECT_EQ(motion.scrollVelocity, -30);
    EXPECT_GE(motion.angularVelocity, -30);

    // The same tick twice, or no drag at all, changes nothing.
    const double velocity = motion.scrollVelocity;
    motion.Drag(600, kStart + 22);
    EXPECT_EQ(motion.scrollVelocity, velocity);
    motion.EndDrag();
    motion.Drag(100, kStart + 40);
    EXPECT_EQ(motion.scrollVelocity, velocity);
}

TEST(ScrollMotion, DragPastEitherEndOfTheWallIsIgnored)
{
    CScrollMotion atStart = Moving(0, 0);
    atStart.BeginDrag(400, kStart);
    atStart.Drag(450, kStart + 10);
    EXPECT_EQ(atStart.scrollVelocity, 0);
    EXPECT_EQ(atStart.lastDragX, 400);

    CScrollMotion atEnd = Moving(0, 800);
    atEnd.scrollLimit = 800;
    atEnd.BeginDrag(400, kStart);
    atEnd.Drag(350, kStart + 10);
    EXPECT_EQ(atEnd.scrollVelocity, 0);
    atEnd.Drag(450, kStart + 20);
    EXPECT_LT(atEnd.scrollVelocity, 0);
}

TEST(ScrollMotion, TransformTurnsTheWallThenSlidesItAlongItsAxis)
{
    CScrollMotion motion = Moving(0, 100);
    motion.swingAngle = 90;
    // The card at wall x = 100 is at the anchor; one 10 units further turns towards -z.
    const D3DXVECTOR3 p = D3DXVec3TransformCoord(D3DXVECTOR3(110, 5, 0), motion.Transform());
    EXPECT_NEAR(p.x, 0, 1e-3);
    EXPECT_NEAR(p.y, 5, 1e-5);
    EXPECT_NEAR(p.z, -10, 1e-3);

    motion.Rest(kStart + 5);
    EXPECT_EQ(motion.scrollPosition, 0);
    EXPECT_EQ(motion.swingAngle, 0);
    EXPECT_EQ(motion.lastUpdateTick, kStart + 5);
}

TEST(NumMotion, InterpolatesAlongItsCurve)
{
    CNumMotion linear(-750);
    ASSERT_TRUE(linear.AddKey(-750, kStart));
    ASSERT_TRUE(linear.AddKey(-330, kStart + 500));
    ASSERT_TRUE(linear.UpdateAt(kStart + 250));
    EXPECT_DOUBLE_EQ(linear.Value(), -540);

    CNumMotion root(0, CNumMotion::SquareRoot);
    root.AddKey(0, kStart);
    root.AddKey(100, kStart + 400);
    root.UpdateAt(kStart + 100);
    EXPECT_DOUBLE_EQ(root.Value(), 50);

    CNumMotion square(0, CNumMotion::Square);
    square.AddKey(0, kStart);
    square.AddKey(100, kStart + 400);
    square.UpdateAt(kStart + 200);
    EXPECT_DOUBLE_EQ(square.Value(), 25);
}

TEST(NumMotion, KeysInTheFutureOrAloneGiveTheirValue)
{
    CNumMotion motion(7);
    EXPECT_FALSE(motion.UpdateAt(kStart));
    EXPECT_EQ(motion.Value(), 7);

    motion.AddKey(10, kStart + 100);
    motion.AddKey(20, kStart + 200);
    EXPECT_TRUE(motion.UpdateAt(kStart + 50));
    EXPECT_EQ(motion.Value(), 10);
}

TEST(NumMotion, DueKeysAreDroppedAndTheLastDueOneRestartsNow)
{
    CNumMotion motion;
    motion.AddKey(0, kStart);
    motion.AddKey(10, kStart + 100);
    motion.AddKey(20, kStart + 200);
    motion.AddKey(30, kStart + 300);
    ASSERT_TRUE(motion.UpdateAt(kStart + 250));
    EXPECT_EQ(motion.Value(), 20);
    EXPECT_EQ(motion.KeyCount(), 2);
    // Key 0 is now (20 at +250), key 1 (30 at +300): halfway at +275.
    motion.UpdateAt(kStart + 275);
    EXPECT_DOUBLE_EQ(motion.Value(), 25);
    motion.UpdateAt(kStart + 400);
    EXPECT_EQ(motion.Value(), 30);
    EXPECT_EQ(motion.KeyCount(), 1);
}

TEST(NumMotion, HoldsAtMostSixteenKeysInTimeOrder)
{
    CNumMotion motion;
    EXPECT_TRUE(motion.AddKey(1, kStart));
    EXPECT_FALSE(motion.AddKey(2, kStart));
    EXPECT_FALSE(motion.AddKey(2, kStart - 1));
    for (int i = 1; i < CNumMotion::kMaxKeys; ++i)
        EXPECT_TRUE(motion.AddKey(i, kStart + i));
    EXPECT_FALSE(motion.AddKey(99, kStart + 1000));
    EXPECT_EQ(motion.KeyCount(), 16);
    motion.Reset();
    EXPECT_EQ(motion.KeyCount(), 0);
    EXPECT_TRUE(motion.AddKey(5, kStart - 50));
}
