// The wall's layouts, scrolling, slots and eviction (no drawing).
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "scene/CPictureSize.h"
#include "render/CWallView.h"
#include "scene/CPickRay.h"
#include "scene/CProductWall.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Textures that are never drawn need no GL context.
TexturePtr SomeTexture()
{
    static PlatformWindow window;
    static RenderDevice device(window);
    return device.CreateTexture(PixelImage(4, 4, 0xFF808080));
}

void AddCard(CProductWall& wall, int index)
{
    ASSERT_TRUE(wall.AddProductCard(index, "", "", SomeTexture(), SomeTexture())) << index;
}

}

TEST(WallLayout, BigAndSmallPitchRowStepAndScreen)
{
    const CWallLayout& big = CWallLayout::Big();
    EXPECT_EQ(big.Pitch(), 395);
    EXPECT_FLOAT_EQ(big.RowStep(), 566);
    EXPECT_EQ(big.ScreenCount(), 8);
    const CWallLayout& small = CWallLayout::Small();
    EXPECT_EQ(small.Pitch(), 276);
    EXPECT_FLOAT_EQ(small.RowStep(), 390);
    EXPECT_EQ(small.ScreenCount(), 18);

    EXPECT_EQ(big.FirstVisibleIndex(-50), 0);
    EXPECT_EQ(big.FirstVisibleIndex(197), 0);
    EXPECT_EQ(big.FirstVisibleIndex(198), 1);
    EXPECT_EQ(big.FirstVisibleIndex(395), 2);
    EXPECT_EQ(small.FirstVisibleIndex(736), 8);
}

TEST(WallLayout, DrawnRangeLeansTowardsTheDirectionOfMotion)
{
    const CWallLayout& big = CWallLayout::Big();
    int begin = 0, end = 0;
    big.DrawnRange(0, CWallLayout::SpeedOf(0), begin, end);
    EXPECT_EQ(begin, -8);
    EXPECT_EQ(end, 16);
    big.DrawnRange(20, CWallLayout::SpeedOf(0.03), begin, end);
    EXPECT_EQ(begin, 12);
    EXPECT_EQ(end, 36);
    big.DrawnRange(20, CWallLayout::SpeedOf(-0.03), begin, end);
    EXPECT_EQ(begin, 4);
    EXPECT_EQ(end, 32);
    EXPECT_EQ(CWallLayout::SpeedOf(0.0299), CWallLayout::Speed::Resting);
    EXPECT_EQ(CWallLayout::SpeedOf(-0.0299), CWallLayout::Speed::Resting);
}

TEST(WallLayout, CardsStandInColumnsAroundTheAnchor)
{
    const CWallLayout& big = CWallLayout::Big();
    EXPECT_EQ(big.CardOffset(0), D3DXVECTOR3(-752, 566, 0));
    EXPECT_EQ(big.CardOffset(1), D3DXVECTOR3(-752, 0, 0));
    EXPECT_EQ(big.CardOffset(5), D3DXVECTOR3(38, 0, 0));
    const CWallLayout& small = CWallLayout::Small();
    EXPECT_EQ(small.CardOffset(4), D3DXVECTOR3(-514, 0, 0));
    EXPECT_EQ(small.CardOffset(5), D3DXVECTOR3(-514, -390, 0));
    EXPECT_EQ(small.HoverLiftOf(3), -100);
    EXPECT_EQ(small.HoverLiftOf(4), -117);
    EXPECT_EQ(small.HoverLiftOf(5), -35);
    EXPECT_EQ(big.HoverLiftOf(2), -40);
    EXPECT_EQ(big.HoverLiftOf(3), -35);
    EXPECT_TRUE(big.IsBottomRow(3));
    EXPECT_FALSE(small.IsBottomRow(4));
}

TEST(PictureSize, LongSideFillsAndNearlySquareFillsTheSquare)
{
    auto size = [](int w, int h) {
        const CPictureSize s = CPictureSize::Of(w, h);
        return std::make_pair(s.width, s.height);
    };
    EXPECT_EQ(size(300, 200), std::make_pair(220, 146));
    EXPECT_EQ(size(200, 300), std::make_pair(146, 220));
    EXPECT_EQ(size(210, 200), std::make_pair(220, 220));
    EXPECT_EQ(size(180, 200), std::make_pair(198, 220));
    EXPECT_EQ(size(0, 200), std::make_pair(220, 220));

    EXPECT_EQ(CPictureSize::OfFile("../datafiles/imagesets/no_pic.jpg").height, 220);
    EXPECT_EQ(CPictureSize::OfFile("../datafiles/imagesets/back_shadow.tga").width, 110);
    EXPECT_EQ(CPictureSize::OfFile("/no/such/picture.jpg").width, 220);
    const std::string wide = "/tmp/qx-wide-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(PixelImage(300, 200).SavePng(wide));
    EXPECT_EQ(CPictureSize::OfFile(wide).height, 146);
    unlink(wide.c_str());
}

TEST(ProductWall, SwitchingLayoutKeepsTheFirstVisibleCard)
{
    CProductWall wall;
    EXPECT_TRUE(wall.IsBigPictures());
    wall.ScrollToIndex(8);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollPosition, 395 * 4);
    wall.SetBigPictures(false);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollPosition, 736);
    EXPECT_EQ(wall.GetFirstVisibleIndex(), 8);
    wall.SetBigPictures(true);
    EXPECT_EQ(wall.GetFirstVisibleIndex(), 8);

    wall.ScrollToIndex(0);
    EXPECT_EQ(wall.Motion().scrollPosition, 0);
    // Beyond any wall: the position stays.
    wall.ScrollToIndex(2000000000);
    EXPECT_EQ(wall.Motion().scrollPosition, 0);
}

TEST(ProductWall, ScrollLimitCoversAtMostTwentyThousandProducts)
{
    CProductWall wall;
    wall.SetScrollLimit(30000);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollLimit, 395 * (20000 / 2.0));
    wall.SetScrollLimit(9);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollLimit, 395 * 4.5);
    wall.SetScrollLimit(0);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollLimit, 395 * 4.5);
    wall.SetBigPictures(false);
    wall.SetScrollLimit(30000);
    EXPECT_DOUBLE_EQ(wall.Motion().scrollLimit, 276 * (20000 / 3.0));
}

TEST(ProductWall, SlotsGoFromPlaceholderToCardAndARealCardIsNeverReplaced)
{
    CProductWall wall;
    wall.MarkPlaceholder(3);
    wall.MarkPlaceholder(-1);
    EXPECT_EQ(wall.SlotCount(), 1u);
    EXPECT_FALSE(wall.HasCard(3));
    EXPECT_FALSE(wall.HasCard(4));

    TexturePtr picture = SomeTexture();
    TexturePtr card = SomeTexture();
    ASSERT_TRUE(wall.AddProductCard(3, "../datafiles/imagesets/no_pic.jpg", "42", std::move(picture), std::move(card)));
    EXPECT_FALSE(picture);
    EXPECT_TRUE(wall.HasCard(3));
    EXPECT_EQ(wall.GetCardPicturePath(3), "../datafiles/imagesets/no_pic.jpg");
    wall.MarkPlaceholder(3);
    EXPECT_TRUE(wall.HasCard(3));

    // Refused: the caller keeps its textures and releases them.
    TexturePtr second = SomeTexture();
    EXPECT_FALSE(wall.AddProductCard(3, "", "43", std::move(second), SomeTexture()));
    EXPECT_TRUE(second);
    EXPECT_FALSE(wall.AddShopCard(3, SomeTexture(), SomeTexture(), ""));
    EXPECT_FALSE(wall.AddRecommendCard(3, SomeTexture(), SomeTexture()));
    EXPECT_FALSE(wall.AddProductCard(-2, "", "", SomeTexture(), SomeTexture()));
    EXPECT_TRUE(wall.AddShopCard(4, nullptr, SomeTexture(), "/no/such.jpg"));
    EXPECT_EQ(wall.GetCardPicturePath(4), "/no/such.jpg");
    EXPECT_EQ(wall.GetCardPicturePath(7), "");
}

TEST(ProductWall, ClearingEmptiesTheWallAndPutsTheMotionToRest)
{
    CProductWall wall;
    AddCard(wall, 0);
    wall.MarkPlaceholder(1);
    CScrollMotion& motion = wall.Motion();
    motion.scrollPosition = 900;
    motion.scrollVelocity = 4;
    motion.angularVelocity = 0.3;
    motion.swingAngle = 10;
    motion.dragging = true;
    wall.ClearCards();
    EXPECT_EQ(wall.SlotCount(), 0u);
    EXPECT_EQ(motion.scrollPosition, 0);
    EXPECT_EQ(motion.scrollVelocity, 0);
    EXPECT_EQ(motion.angularVelocity, 0);
    EXPECT_EQ(motion.swingAngle, 0);
    EXPECT_FALSE(motion.dragging);
    EXPECT_FALSE(wall.IsMoving());
    EXPECT_DOUBLE_EQ(motion.scrollLimit, 395 * 4);
    motion.scrollVelocity = -0.03;
    EXPECT_TRUE(wall.IsMoving());
}

TEST(ProductWall, EvictionWaitsForEightySlotsAndTakesAtMostFivePerFrame)
{
    CProductWall wall;
    wall.SetScrollLimit(20000);
    for (int i = 0; i < 79; ++i)
        AddCard(wall, i);
    wall.ScrollToIndex(60);
    ASSERT_EQ(wall.GetFirstVisibleIndex(), 60);
    EXPECT_TRUE(wall.CollectFarCards().empty());

    AddCard(wall, 200);
    EXPECT_EQ(wall.CollectFarCards(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(wall.SlotCount(), 75u);
    EXPECT_FALSE(wall.HasCard(0));
    // Below 80 slots again: nothing more goes.
    EXPECT_TRUE(wall.CollectFarCards().empty());
}

TEST(ProductWall, KeepsFortySlotsEitherSideOfTheScreen)
{
    CProductWall wall;
    wall.SetScrollLimit(20000);
    wall.ScrollToIndex(100);
    for (int i = 40; i < 200; ++i)
        wall.MarkPlaceholder(i);
    // Screen 100..107: kept from 60 to 148.
    std::vector<int> collected;
    for (int frame = 0; frame < 40; ++frame)
        for (int index : wall.CollectFarCards())
            collected.push_back(index);
    std::vector<int> expected;
    for (int i = 40; i < 60; ++i)
        expected.push_back(i);
    for (int i = 149; i < 200; ++i)
        expected.push_back(i);
    EXPECT_EQ(collected, expected);
    EXPECT_EQ(wall.SlotCount(), 89u);
}

TEST(ProductWall, FarPlaceholdersDoNotHoldBackFarCards)
{
    CProductWall wall;
    wall.SetScrollLimit(20000);
    wall.ScrollToIndex(500);
    for (int i = 0; i < 10; ++i)
        wall.MarkPlaceholder(i);
    for (int i = 10; i < 100; ++i)
        AddCard(wall, i);
    int cardsLeft = 0;
    for (int frame = 0; frame < 30; ++frame)
        wall.CollectFarCards();
    for (int i = 0; i < 100; ++i)
        cardsLeft += wall.HasCard(i);
    EXPECT_LT(wall.SlotCount(), 80u);
    EXPECT_LT(cardsLeft, 80);
}

TEST(ProductWall, PublishesWhatTheRenderWorkerReads)
{
    CProductWall wall;
    wall.SetScrollLimit(20000);
    wall.ScrollToIndex(8);
    wall.SetBigPictures(false);
    CWallView::Range range = CWallView::getInstance().VisibleRange();
    EXPECT_EQ(range.first, 8);
    EXPECT_EQ(range.last, 26);
    // Each frame's motion update publishes the new speed.
    wall.Motion().scrollVelocity = 5;
    wall.Pick(wall.Motion().lastUpdateTick + 10, CPickRay(D3DXVECTOR3(0, 0, -750), D3DXVECTOR3(0, 0, 1)));
    EXPECT_DOUBLE_EQ(CWallView::getInstance().ScrollVelocity(), wall.Motion().scrollVelocity);
    EXPECT_GT(CWallView::getInstance().ScrollVelocity(), 4);
}
