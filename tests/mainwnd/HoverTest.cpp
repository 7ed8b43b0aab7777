// The hovered card on the real layout with a real device: it is always the
// card under the mouse, wherever the mouse went while the wall was covered
// and however the wall moved under it.
#include "mainwnd/CQX_GlobalVariable.h"
#include "panels/CDetailWindow.h"
#include "render/CRenderMsg_ShowDefaultProductSnapshot.h"
#include "scene/CProductWall.h"
#include "scene/CSceneCamera.h"
#include "tests/mainwnd/BrowsingFixture.h"
#include "tests/support/HeadlessGui.h"
#include "tests/support/SceneWindow.h"

#include <map>

namespace {

class DrawingMainWnd : public CQX_MainWnd
{
protected:
    RenderDevice* Device() const override { return &SceneWindow::Instance().Device(); }
};

using Point = std::pair<int, int>;
using PickMap = std::map<Point, int>;

class Hover : public BrowsingFixture
{
protected:
    std::unique_ptr<CQX_MainWnd> MakeWindow() override { return std::make_unique<DrawingMainWnd>(); }

    void SetUp() override
    {
        BrowsingFixture::SetUp();
        for (int position = 0; position < 24; ++position)
            CRenderMsg_ShowDefaultProductSnapshot(position, CQX_GlobalVariable::getInstance().GetSearchID())
                .Process();
        Frames(600);
    }

    // Frames 20 ms apart for ms.
    void Frames(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 20) {
            m_now += 20;
            SceneWindow::Instance().BeginFrame();
            m_wnd->RenderScene(m_now);
        }
    }

    // The card under each point of a grid over the middle of the screen.
    PickMap PickGrid()
    {
        RenderDevice& device = SceneWindow::Instance().Device();
        PickMap picks;
        for (int y = 200; y <= 600; y += 25)
            for (int x = 60; x <= 1220; x += 40)
                picks[{x, y}] = CProductWall::getInstance().Pick(
                    m_now, CSceneCamera::BuildPickRay(device, static_cast<float>(x), static_cast<float>(y)));
        return picks;
    }

    static void MoveMouse(const Point& p)
    {
        HeadlessGui::Context().injectMousePosition(static_cast<float>(p.first), static_cast<float>(p.second));
    }
    static int Hovered() { return CProductWall::getInstance().GetHoveredIndex(); }

    uint32_t m_now = 100000;
};

}

TEST_F(Hover, AfterTheDetailWindowClosesTheCardUnderTheMouseIsHovered)
{
    const PickMap picks = PickGrid();
    const auto clicked = std::find_if(picks.begin(), picks.end(), [](const auto& p) { return p.second >= 0; });
    ASSERT_NE(clicked, picks.end());
    MoveMouse(clicked->first);
    Frames(400);
    ASSERT_EQ(Hovered(), clicked->second);

    m_wnd->OpenProduct(clicked->second);
    Frames(400);
    EXPECT_EQ(Hovered(), -1) << "no hover while a product is open";
    // The mouse goes to another card over the detail window, which keeps the move from the wall.
    const CEGUI::Rectf detail = CDetailWindow::getInstance()->GetRoot()->getUnclippedOuterRect().get();
    const auto other = std::find_if(picks.begin(), picks.end(), [&](const auto& p) {
        return p.second >= 0 && p.second != clicked->second &&
               detail.isPointInRect(CEGUI::Vector2f(static_cast<float>(p.first.first),
                                                    static_cast<float>(p.first.second)));
    });
    ASSERT_NE(other, picks.end());
    MoveMouse(other->first);
    m_wnd->CloseDetailWindow();
    Frames(400);
    EXPECT_EQ(Hovered(), other->second);
}

TEST_F(Hover, TheWallMovingUnderAStillMouseHandsTheHoverOn)
{
    // Where each point lands with the camera closer, then back at rest.
    const PickMap atRest = PickGrid();
    HeadlessGui::Context().injectMousePosition(640, 400);
    HeadlessGui::Context().injectMouseWheelChange(3);
    Frames(1000);
    const PickMap closer = PickGrid();
    HeadlessGui::PressKey(CEGUI::Key::Space);
    Frames(1000);
    ASSERT_EQ(PickGrid(), atRest);

    const auto moved = std::find_if(closer.begin(), closer.end(), [&](const auto& p) {
        return p.second >= 0 && atRest.at(p.first) >= 0 && p.second != atRest.at(p.first);
    });
    ASSERT_NE(moved, closer.end());
    MoveMouse(moved->first);
    Frames(400);
    ASSERT_EQ(Hovered(), atRest.at(moved->first));
    HeadlessGui::Context().injectMouseWheelChange(3);
    Frames(1000);
    EXPECT_EQ(Hovered(), moved->second);
}
