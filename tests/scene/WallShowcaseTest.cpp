// A wall of real product cards from the local marketplace, drawn, scrolled
// with inertia, swung and picked; the screenshots are for people to look at.
#include "platform/RenderDevice.h"
#include "scene/CPickRay.h"
#include "scene/CProductWall.h"
#include "scene/CSceneCamera.h"
#include "tests/support/MarketCards.h"
#include "tests/support/SceneWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kCards = 60;
constexpr uint32_t kFrame = 20;

class WallShowcase : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_cards = new std::vector<MarketCard>(MarketCards::Fetch(kCards)); }
    static void TearDownTestSuite() { delete s_cards; }

    void SetUp() override
    {
        ASSERT_EQ(s_cards->size(), static_cast<size_t>(kCards));
        m_window = &SceneWindow::Instance();
        m_wall.InitDevice(m_window->Device());
        m_wall.SetScrollLimit(kCards);
        for (int i = 0; i < kCards; ++i)
            ASSERT_TRUE(MarketCards::AddToWall(m_wall, i, (*s_cards)[i], m_window->Device()));
        m_now = m_wall.Motion().lastUpdateTick;
    }

    PixelImage Frame()
    {
        m_window->BeginFrame();
        m_wall.Render(m_now);
        return m_window->ReadPixels();
    }

    // The motion of a frame 20 ms later, without drawing it (picking
    // advances the wall the same way).
    void Advance()
    {
        m_now += kFrame;
        m_wall.Pick(m_now, CPickRay(D3DXVECTOR3(0, 0, -750), D3DXVECTOR3(0, 0, 1)));
    }

    int RunUntilResting()
    {
        int frames = 0;
        do {
            Advance();
            ++frames;
        } while (m_wall.IsMoving() && frames < 1000);
        return frames;
    }

    int PickAtPixel(int x, int y)
    {
        return m_wall.Pick(m_now, CSceneCamera::BuildPickRay(m_window->Device(), static_cast<float>(x),
                                                            static_cast<float>(y)));
    }

    static std::vector<MarketCard>* s_cards;
    SceneWindow* m_window = nullptr;
    CProductWall m_wall;
    uint32_t m_now = 0;
};

std::vector<MarketCard>* WallShowcase::s_cards = nullptr;

}

TEST_F(WallShowcase, NextScrollsWithInertiaAndSwingsBackToRest)
{
    SceneWindow::SaveScreenshot(Frame(), "scene_showcase_big");
    // What the "next" button gives the wall.
    m_wall.Motion().scrollVelocity += 13;
    m_wall.Motion().angularVelocity -= 0.07;
    for (int frame = 0; frame < 15; ++frame)
        Advance();
    SceneWindow::SaveScreenshot(Frame(), "scene_showcase_moving");
    EXPECT_LT(m_wall.Motion().swingAngle, -1);
    const int frames = RunUntilResting();
    SceneWindow::SaveScreenshot(Frame(), "scene_showcase_rested");
    EXPECT_LT(frames, 1000);
    // Coasting carries it several columns; the swing has nearly settled.
    EXPECT_GT(m_wall.GetFirstVisibleIndex(), 4);
    EXPECT_LT(m_wall.GetFirstVisibleIndex(), 40);
    EXPECT_GT(m_wall.Motion().scrollPosition, 3 * m_wall.Layout().Pitch());
    // The swing springs back once the wall is slow.
    for (int frame = 0; frame < 250; ++frame)
        Advance();
    EXPECT_LT(std::fabs(m_wall.Motion().swingAngle), 1);
    SceneWindow::SaveScreenshot(Frame(), "scene_showcase_settled");
}

TEST_F(WallShowcase, SmallPicturesWithAHoveredCardAndPicking)
{
    m_wall.SetBigPictures(false);
    m_wall.ScrollToIndex(9);
    m_wall.SetHoveredIndex(16);
    const PixelImage image = Frame();
    SceneWindow::SaveScreenshot(image, "scene_showcase_small");
    // Every visible card is hit where the mouse points at its picture.
    const CWallLayout& layout = m_wall.Layout();
    const double scroll = m_wall.Motion().scrollPosition;
    int picked = 0;
    for (int index = 9; index < 9 + layout.ScreenCount(); ++index) {
        if (index == 16)
            continue;
        const D3DXVECTOR3 offset = layout.CardOffset(index);
        const D3DXVECTOR3 centre(offset.x - static_cast<float>(scroll) + layout.wallX,
                                 229 * layout.scale + offset.y + layout.wallY, 0);
        const glm::ivec2 pixel(m_window->ToScreen(centre, D3DXMatrixIdentity()));
        if (pixel.x < 0 || pixel.x >= image.Width() || pixel.y < 0 || pixel.y >= image.Height())
            continue;
        const int hit = PickAtPixel(pixel.x, pixel.y);
        // The enlarged hovered card covers part of its neighbours on screen,
        // but picking tests the cards as they stand.
        EXPECT_EQ(hit, index);
        picked += hit == index;
    }
    EXPECT_GE(picked, 12);
}
