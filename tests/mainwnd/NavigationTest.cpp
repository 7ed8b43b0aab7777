#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "panels/CDetailWindow.h"
#include "panels/CLeftPanel.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderMsg_ShowDefaultProductSnapshot.h"
#include "scene/CProductWall.h"
#include "tests/mainwnd/BrowsingFixture.h"
#include "tests/support/HeadlessGui.h"

#include <thread>

namespace {

constexpr uint32_t kNow = 100000;

class Navigation : public BrowsingFixture
{
protected:
    void SetUp() override
    {
        BrowsingFixture::SetUp();
        m_wnd->RenderScene(m_now);
    }

    // The next frame, ms later: the camera moves on.
    void Advance(uint32_t ms)
    {
        m_now += ms;
        m_wnd->RenderScene(m_now);
        m_wnd->RenderOverlay(m_now);
    }

    static CScrollMotion& Motion() { return CProductWall::getInstance().Motion(); }
    // Where an animator ends up once its keys have passed.
    double Target(const CNumMotion& motion) const
    {
        CNumMotion copy = motion;
        copy.UpdateAt(m_now + 60000);
        return copy.Value();
    }
    static std::string Property(const char* window, const char* name)
    {
        return CEGuiCompat::FromGui(Window(name == nullptr ? window : window)->getProperty(name));
    }
    static CEGUI::GUIContext& Gui() { return HeadlessGui::Context(); }
    // A press, moves and release on the empty wall, a frame apart.
    void Drag(std::initializer_list<CEGUI::Vector2f> points)
    {
        auto point = points.begin();
        Gui().injectMousePosition(point->d_x, point->d_y);
        Gui().injectMouseButtonDown(CEGUI::LeftButton);
        for (++point; point != points.end(); ++point) {
            Advance(20);
            Gui().injectMousePosition(point->d_x, point->d_y);
        }
        Gui().injectMouseButtonUp(CEGUI::LeftButton);
    }
    static uint32_t Counter(int action) { return CQX_GlobalVariable::getInstance().GetActionCounter(action); }

    uint32_t m_now = kNow;
};

}

TEST_F(Navigation, NextPushesTheWallAndStopsAutoPlay)
{
    Click("MotionControl/AutoPlayStopBtn");
    ASSERT_TRUE(m_wnd->IsAutoPlayOn());
    Click("MotionControl/NextBtn");
    EXPECT_FALSE(m_wnd->IsAutoPlayOn());
    EXPECT_FALSE(Motion().autoPlay);
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 13);
    EXPECT_DOUBLE_EQ(Motion().angularVelocity, -0.07);
    EXPECT_GT(Motion().scrollLimit, 0);
    EXPECT_EQ(Counter(CQX_GlobalVariable::ActNext), 1u);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetBusyUntil(), kNow + 300);
}

TEST_F(Navigation, NextAtTheEndOfTheWallOnlyStopsAutoPlay)
{
    Click("MotionControl/AutoPlayStopBtn");
    Click("MotionControl/NextBtn");
    Motion().scrollVelocity = 0;
    Motion().angularVelocity = 0;
    Motion().scrollPosition = Motion().scrollLimit;
    Click("MotionControl/AutoPlayStopBtn");
    ASSERT_FALSE(m_wnd->IsAutoPlayOn()) << "the wall already shows its last products";
    Motion().scrollPosition = 0;
    Click("MotionControl/AutoPlayStopBtn");
    Motion().scrollPosition = Motion().scrollLimit;
    Click("MotionControl/NextBtn");
    EXPECT_FALSE(m_wnd->IsAutoPlayOn());
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 0);
}

TEST_F(Navigation, PagingBackwardsFirstAndTenTimes)
{
    Click("MotionControl/PrevBtn");
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 0) << "nothing before the first screen";
    Click("MotionControl/NextNextBtn");
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 30);
    EXPECT_EQ(Counter(CQX_GlobalVariable::ActTenTimesNext), 1u);
    Motion().scrollPosition = 500;
    Click("MotionControl/PrevPrevBtn");
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, -30);
    Click("MotionControl/FirstBtn");
    EXPECT_DOUBLE_EQ(Motion().scrollPosition, 0);
    EXPECT_DOUBLE_EQ(Motion().swingAngle, 5.0);
    EXPECT_DOUBLE_EQ(Motion().angularVelocity, 0);
}

TEST_F(Navigation, AutoPlayButtonTurnsItOnAndOff)
{
    const char* play = "MotionControl/AutoPlayStopBtn";
    Click(play);
    EXPECT_TRUE(Motion().autoPlay);
    EXPECT_EQ(Motion().nextImpulseTick, kNow + 300);
    EXPECT_EQ(Motion().autoPlayEndTick, kNow + 180000);
    EXPECT_EQ(Property(play, "NormalImage"), "PlayStop/Stop");
    EXPECT_EQ(Property(play, "HoverImage"), "PlayStop/StopHight");
    EXPECT_EQ(Property(play, "TooltipText"), "暂停滚屏");
    EXPECT_TRUE(Window("MotionControl/FasterAutoMoveBtn")->isVisible());
    EXPECT_TRUE(Window("MotionControl/Text")->isVisible());
    EXPECT_EQ(TextOf("MotionControl/Text"), "08 秒/屏");
    EXPECT_EQ(Counter(CQX_GlobalVariable::ActAutoPlayStart), 1u);
    Click(play);
    EXPECT_FALSE(Motion().autoPlay);
    EXPECT_EQ(Property(play, "NormalImage"), "PlayStop/Play");
    EXPECT_EQ(Property(play, "TooltipText"), "自动滚屏，播放商品");
    EXPECT_FALSE(Window("MotionControl/SlowerAutoMoveBtn")->isVisible());
    EXPECT_FALSE(Window("MotionControl/Text")->isVisible());
}

TEST_F(Navigation, FasterAndSlowerStopAtTheirLimits)
{
    Click("MotionControl/AutoPlayStopBtn");
    Click("MotionControl/FasterAutoMoveBtn");
    auto& global = CQX_GlobalVariable::getInstance();
    EXPECT_EQ(global.GetSpeedLevel(), 1);
    EXPECT_EQ(Motion().speedLevel, 1);
    EXPECT_TRUE(Window("MotionControl/FasterAutoMoveBtn")->isDisabled());
    EXPECT_EQ(TextOf("MotionControl/Text"), "04 秒/屏");
    // The next push comes one level interval after the last one.
    EXPECT_EQ(Motion().nextImpulseTick, kNow + 300 - 8000 + 4000);
    EXPECT_EQ(Motion().autoPlayEndTick, kNow + 300 - 8000 + 180000);

    global.SetSpeedLevel(9);
    Motion().speedLevel = 9;
    Click("MotionControl/SlowerAutoMoveBtn");
    EXPECT_EQ(global.GetSpeedLevel(), 10);
    EXPECT_TRUE(Window("MotionControl/SlowerAutoMoveBtn")->isDisabled());
    EXPECT_FALSE(Window("MotionControl/FasterAutoMoveBtn")->isDisabled());
    EXPECT_EQ(TextOf("MotionControl/Text"), "40 秒/屏");
}

TEST_F(Navigation, VerticalDragTiltsTheCameraWithinItsRange)
{
    Drag({{640, 400}, {640, 410}});
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), -40);
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 0);
    Advance(1000);
    Drag({{640, 400}, {640, 700}});
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), -350);
    Advance(1000);
    Drag({{640, 700}, {640, 100}});
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), 350);
}

TEST_F(Navigation, HorizontalDragThrowsTheWall)
{
    Drag({{700, 400}, {680, 401}, {640, 402}});
    EXPECT_GT(Motion().scrollVelocity, 0);
    EXPECT_FALSE(Motion().dragging);
    EXPECT_EQ(Counter(CQX_GlobalVariable::ActWallDrag), 1u);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), 0);
}

TEST_F(Navigation, WheelAndKeysMoveTheCamera)
{
    Gui().injectMousePosition(640, 400);
    Gui().injectMouseWheelChange(1);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), -690);
    Advance(1000);
    HeadlessGui::PressKey(CEGUI::Key::ArrowLeft);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), -780);
    HeadlessGui::PressKey(CEGUI::Key::ArrowUp);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), 15);
    for (int i = 0; i < 10; ++i) {
        Advance(1000);
        HeadlessGui::PressKey(CEGUI::Key::ArrowLeft);
    }
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), -1000);
    HeadlessGui::PressKey(CEGUI::Key::Space);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), -750);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), 0);
    HeadlessGui::PressKey(CEGUI::Key::PageDown);
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 13);
}

TEST_F(Navigation, AStillSceneAsksForNoFrameAndEachChangeAsksForOne)
{
    CRenderMsgQueue::getInstance().Clear();
    Advance(25);
    ASSERT_FALSE(m_wnd->HasSceneChanged(m_now + 25)) << "a still screen is drawn again";

    CRenderMsgQueue::getInstance().PushNormalMsg(
        std::make_unique<CRenderMsg_ShowDefaultProductSnapshot>(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    m_wnd->OnIdle();
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 25)) << "a new card";
    Advance(25);
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 25));

    Gui().injectMousePosition(640, 400);
    Gui().injectMouseWheelChange(1);
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 25)) << "the camera moves";
    Advance(2000);
    Advance(25);
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 25));

    HeadlessGui::PressKey(CEGUI::Key::PageDown);
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 25)) << "the wall moves";
    // Without a device the wall's motion does not run: it comes to rest here.
    Motion().Rest(m_now);
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 25));
    Motion().scrollVelocity = 0.01;
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 25)) << "the wall glides on slowly";
    Motion().Rest(m_now);
    Motion().swingAngle = 4;
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 25)) << "the wall swings back";
    Motion().swingAngle = 0.01;
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 25)) << "a swing too small to see";
    Motion().Rest(m_now);

    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::InputRefused, m_now + 500);
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now)) << "a new notice";
    m_wnd->RenderOverlay(m_now);
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 250)) << "a notice that stays as it is";
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 500)) << "a notice expiring";

    // A failed search, told from a download thread while nothing else moves.
    std::thread([] {
        CQX_NoticeBoard::getInstance().SetStateUnless(CQX_NoticeBoard::NetworkFailure,
                                                      CQX_NoticeBoard::ResultsPresent);
    }).join();
    EXPECT_TRUE(m_wnd->HasSceneChanged(m_now + 250)) << "the network notice replaces the searching one";
    m_wnd->RenderOverlay(m_now + 250);
    EXPECT_FALSE(m_wnd->HasSceneChanged(m_now + 275));
}

// Only a wall at rest is held to 25 ms frames: gliding slowly or swinging
// back, it still moves on screen.
TEST_F(Navigation, AWallThatStillGlidesOrSwingsRunsUnthrottled)
{
    Motion().Rest(m_now);
    EXPECT_FALSE(m_wnd->IsSceneMoving());
    Motion().scrollVelocity = 0.01;
    EXPECT_TRUE(m_wnd->IsSceneMoving()) << "gliding below the moving speed";
    Motion().Rest(m_now);
    Motion().swingAngle = 4;
    EXPECT_TRUE(m_wnd->IsSceneMoving()) << "swinging back";
    Motion().Rest(m_now);
}

TEST_F(Navigation, OneIdleCallHandsOverAScreenOfWaitingCards)
{
    CRenderMsgQueue::getInstance().Clear();
    for (int position = 0; position < 16; ++position)
        CRenderMsgQueue::getInstance().PushNormalMsg(std::make_unique<CRenderMsg_ShowDefaultProductSnapshot>(
            position, CQX_GlobalVariable::getInstance().GetSearchID()));
    m_wnd->OnIdle();
    EXPECT_EQ(CProductWall::getInstance().SlotCount(), 16u);
}

TEST_F(Navigation, ADragEndingOverAToolbarRestoresTheArrow)
{
    // In the roam mode its own button is disabled: the release goes nowhere.
    const CEGUI::Rectf bar = Window("BottomPannel/RoamBtn")->getUnclippedOuterRect().get();
    Gui().injectMousePosition(640, 400);
    Gui().injectMouseButtonDown(CEGUI::LeftButton);
    Advance(20);
    Gui().injectMousePosition(bar.left() + bar.getWidth() / 2, bar.top() + bar.getHeight() / 2);
    Gui().injectMouseButtonUp(CEGUI::LeftButton);
    Advance(20);
    EXPECT_EQ(Gui().getMouseCursor().getDefaultImage()->getName(), "size/MouseCursor");
}

TEST_F(Navigation, KeysTypedInTheSearchBoxStayThere)
{
    // The search view shows all three boxes; the camera is away from its
    // rest, so a reset would show.
    Search("ab");
    Gui().injectMousePosition(640, 400);
    Gui().injectMouseWheelChange(2);
    Advance(1000);
    const double distance = Target(m_wnd->GetCameraDistance());
    const double tilt = Target(m_wnd->GetCameraTilt());
    ASSERT_NE(distance, -750);
    const size_t backEntries = Modes().GetBackList().size();
    for (const char* box : {"SearchDiv/editName", "SearchDiv/StartPrice", "SearchDiv/EndPrice"}) {
        Type(box, "12");
        for (CEGUI::Key::Scan key : {CEGUI::Key::Space, CEGUI::Key::PageUp, CEGUI::Key::PageDown, CEGUI::Key::ArrowUp,
                                     CEGUI::Key::ArrowDown, CEGUI::Key::ArrowLeft, CEGUI::Key::ArrowRight}) {
            HeadlessGui::PressKey(key);
            Advance(20);
            EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), distance) << box << " key " << key;
            EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), tilt) << box << " key " << key;
            EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 0) << box << " key " << key;
        }
    }
    EXPECT_EQ(Modes().GetBackList().size(), backEntries);
}

TEST_F(Navigation, ClickOnEmptyWallResetsTheCameraAndTakesTheKeyboard)
{
    Type("SearchDiv/editName", "ab");
    Gui().injectMousePosition(640, 400);
    Gui().injectMouseWheelChange(2);
    Advance(1000);
    Click("Root");
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraDistance()), -750);
    EXPECT_TRUE(Window("BottomPannel/RoamBtn")->isActive());
}

TEST_F(Navigation, BigSmallSwitchBelongsToTheMode)
{
    const char* button = "BottomPannel/BigSmallPicBtn";
    Click(button);
    EXPECT_EQ(CProductWall::getInstance().Layout().rows, 3);
    EXPECT_EQ(Property(button, "NormalImage"), "FirstPageMore/BigPic");
    EXPECT_EQ(Property(button, "TooltipText"), "大图显示商品");
    Search("dress");
    EXPECT_EQ(CProductWall::getInstance().Layout().rows, 2);
    EXPECT_EQ(Property(button, "HoverImage"), "FirstPageMore/SmallPicHighLight");
    EXPECT_EQ(Property(button, "TooltipText"), "小图显示商品");
    Click("MotionControl/ReturnRecommend");
    EXPECT_EQ(CProductWall::getInstance().Layout().rows, 3);
}

TEST_F(Navigation, AutoPlayPausesWhileAProductIsOpen)
{
    Click("MotionControl/AutoPlayStopBtn");
    Motion().autoPlay = false;
    m_wnd->OpenProduct(0);
    Advance(20);
    EXPECT_TRUE(m_wnd->IsAutoPlayOn());
    EXPECT_FALSE(Motion().autoPlay);
    HeadlessGui::Context().injectChar(27);
    Advance(20);
    EXPECT_TRUE(m_wnd->IsAutoPlayOn());
    EXPECT_TRUE(Motion().autoPlay);
    EXPECT_EQ(Motion().nextImpulseTick, m_now + 300);
    Motion().autoPlay = false;
    Advance(20);
    EXPECT_FALSE(m_wnd->IsAutoPlayOn()) << "the motion ended auto-play";
}

TEST_F(Navigation, ClickOnEmptyWallClosesTheOpenProduct)
{
    m_wnd->OpenProduct(3);
    CEGUI::Window* detail = CDetailWindow::getInstance()->GetRoot();
    ASSERT_TRUE(detail->isVisible());
    Gui().injectMousePosition(640, 780);
    Click("Root");
    EXPECT_TRUE(detail->isVisible()) << "the click fell on the bottom bar";
    Gui().injectMousePosition(20, 300);
    Gui().injectMouseButtonDown(CEGUI::LeftButton);
    Gui().injectMouseButtonUp(CEGUI::LeftButton);
    EXPECT_FALSE(detail->isVisible());
}

TEST_F(Navigation, ShopModeShowsTheSellerInTheLeftPanel)
{
    EnterShop();
    CEGUI::Window* panel = Window("SearchDiv/LeftPanel");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(CLeftPanel::getInstance().GetSellerNick(), CQX_SearchCondition::getInstance().nick);
    Click("MotionControl/ReturnRecommend");
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(CLeftPanel::getInstance().GetSellerNick().empty());
}

TEST_F(Navigation, DragEndsWhenTheMouseReachesABar)
{
    Gui().injectMousePosition(600, 380);
    Gui().injectMousePosition(640, 400);
    Gui().injectMouseButtonDown(CEGUI::LeftButton);
    Advance(20);
    Gui().injectMousePosition(640, 785);
    Gui().injectMouseButtonUp(CEGUI::LeftButton);
    Advance(20);
    Gui().injectMousePosition(600, 400);
    Advance(20);
    Gui().injectMousePosition(300, 402);
    EXPECT_DOUBLE_EQ(Motion().scrollVelocity, 0);
    EXPECT_DOUBLE_EQ(Target(m_wnd->GetCameraTilt()), 0);
}
