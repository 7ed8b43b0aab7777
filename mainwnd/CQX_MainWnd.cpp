#include "mainwnd/CQX_MainWnd.h"

#include "common/CEGuiCompat.h"
#include "common/CEGuiD3D9BaseApplication.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_NoticePicture.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CQX_TimerList.h"
#include "mainwnd/CQX_WaitingDisplayList.h"
#include "mainwnd/CTopPanel.h"
#include "panels/CDetailWindow.h"
#include "panels/CLeftPanel.h"
#include "platform/Browser.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"
#include "download/CTaobaoDownloader.h"
#include "render/CRenderDeviceLock.h"
#include "render/CHeavyCostMsg_ProductCleanedInRenderThread.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderWorker.h"
#include "scene/CProductWall.h"
#include "scene/CSceneCamera.h"
#include "service/CQXConfig.h"
#include "service/CQXLoginClientApi.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

const char* const CQX_MainWnd::kFontFiles[4] = {"simhei.TTF", "simsun.ttc", "MSYH.ttf", "simfang.ttf"};

namespace {

const char* const kNormalFont = "qx_font_normal";
const char* const kLargeFont = "qx_font_large";
constexpr uint32_t kPickInterval = 300;
// A mouse closer than this to where the hovered card was picked has not moved.
constexpr float kStillMouse = 0.01f;
constexpr float kMouseMoveThreshold = 2;
// Far cards are collected on five frames out of six.
constexpr int kCollectFrames = 5;

RenderDevice* Device()
{
    auto* app = CEGuiD3D9BaseApplication::Instance();
    return app ? app->GetD3DState()->device.get() : nullptr;
}

// A font file's path relative to the fonts folder, "" when it lies elsewhere.
std::string RelativeToFontsDir(const std::string& file)
{
    const std::string dir = GetWindowsFontsDir();
    return file.compare(0, dir.size(), dir) == 0 ? file.substr(dir.size()) : "";
}

}

CQX_MainWnd::CQX_MainWnd()
    : m_cameraDistance(CSceneCamera::kRestingDistance, CNumMotion::SquareRoot),
      m_cameraTilt(0, CNumMotion::SquareRoot)
{
}

// A controller that never reached Cleanup (its start failed, or a test drove
// it) still leaves no thread running into the program's exit.
CQX_MainWnd::~CQX_MainWnd()
{
    CRenderWorker::getInstance().Stop();
    StopDownloads();
}

std::vector<std::string> CQX_MainWnd::FontCandidates()
{
    std::vector<std::string> files(std::begin(kFontFiles), std::end(kFontFiles));
    const std::string cjk = RelativeToFontsDir(FindCjkFontFile());
    if (!cjk.empty())
        files.push_back(cjk);
    return files;
}

bool CQX_MainWnd::InitialiseSample()
{
    m_downloader = &CTaobaoDownloader::getInstance();
    {
        std::lock_guard<std::mutex> guard(CRenderDeviceLock::Mutex());
        if (CRenderDeviceLock::IsDeviceUsable())
            CQX_GlobalVariable::getInstance().SetDevice(Device());
    }
    if (RenderDevice* device = Device())
        CQX_NoticeBoard::getInstance().LoadPictures(*device);
    auto* resources = static_cast<CEGUI::DefaultResourceProvider*>(
        CEGUI::System::getSingleton().getResourceProvider());
    resources->setResourceGroupDirectory("fonts", GetWindowsFontsDir());

    LoadSchemeAndCursor();
    if (!CreateFonts()) {
        MessageBox::Show("请安装中文字体（雅黑，黑体或宋体），然后再启动程序!", "提示", MsgBoxButtons::Ok,
                         MsgBoxIcon::Error);
        _exit(0);
    }
    LoadLayout();
    SubscribeEvents();
    CLeftPanel::getInstance().Initialise(this);
    if (RenderDevice* device = Device())
        CProductWall::getInstance().InitDevice(*device);
    SetUpBrowsing();
    if (CQXRecommendCatalogue::getInstance().IsReady())
        Redisplay(true);
    CRenderWorker::getInstance().Start();
    ActivateRoamButton(true);
    return true;
}

void CQX_MainWnd::LoadSchemeAndCursor()
{
    CEGUI::SchemeManager::getSingleton().createFromFile("Quobrix.scheme");
    auto& context = CEGuiCompat::Context();
    context.getMouseCursor().setDefaultImage(CEGuiCompat::ImageName("set:size image:MouseCursor"));
    context.getMouseCursor().hide();
    context.setDefaultTooltipType("TaharezLook/Tooltip");
}

bool CQX_MainWnd::CreateFonts()
{
    auto& fonts = CEGUI::FontManager::getSingleton();
    if (fonts.isDefined(kNormalFont))
        return true;
    for (const std::string& file : FontCandidates()) {
        if (!FontFileExists(file))
            continue;
        CEGUI_TRY
        {
            fonts.createFreeTypeFont(kNormalFont, 7, true, file, "fonts", CEGUI::ASM_Vertical, CEGUI::Sizef(640, 480));
            fonts.createFreeTypeFont(kLargeFont, 10, true, file, "fonts", CEGUI::ASM_Vertical, CEGUI::Sizef(640, 480));
            return true;
        }
        CEGUI_CATCH(const CEGUI::Exception&)
        {
            if (fonts.isDefined(kNormalFont))
                fonts.destroy(kNormalFont);
        }
    }
    return false;
}

void CQX_MainWnd::LoadLayout()
{
    auto& context = CEGuiCompat::Context();
    context.setDefaultFont(kNormalFont);
    CEGUI::Window* root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile("Quobrix.layout");
    context.setRootWindow(root);
    root->show();
}

void CQX_MainWnd::Subscribe(const char* window, const CEGUI::String& event,
                            bool (CQX_MainWnd::*handler)(const CEGUI::EventArgs&))
{
    CEGuiCompat::GetWindow(window)->subscribeEvent(event, CEGUI::Event::Subscriber(handler, this));
}

void CQX_MainWnd::SubscribeEvents()
{
    const CEGUI::String& click = CEGUI::Window::EventMouseClick;
    Subscribe("TopPannel/Close", click, &CQX_MainWnd::OnClose);
    Subscribe("BottomPannel/AboutUs", click, &CQX_MainWnd::OnAboutUs);
    Subscribe("BottomPannel/BigSmallPicBtn", click, &CQX_MainWnd::OnBigSmall);
    Subscribe("BottomPannel/TodayBtn", click, &CQX_MainWnd::OnToday);
    Subscribe("BottomPannel/FavoriteBtn", click, &CQX_MainWnd::OnFavorites);
    Subscribe("BottomPannel/RoamBtn", click, &CQX_MainWnd::OnRoam);
    Subscribe("Root", CEGUI::Window::EventMouseMove, &CQX_MainWnd::OnRootMouseMove);
    CEGuiCompat::GetWindow("MotionControl/FasterAutoMoveBtn")->hide();
    CEGuiCompat::GetWindow("MotionControl/SlowerAutoMoveBtn")->hide();
    m_bigSmallButton = CEGuiCompat::GetWindow("BottomPannel/BigSmallPicBtn");
    m_favoriteButton = CEGuiCompat::GetWindow("BottomPannel/FavoriteBtn");
    m_todayButton = CEGuiCompat::GetWindow("BottomPannel/TodayBtn");
    m_roamButton = CEGuiCompat::GetWindow("BottomPannel/RoamBtn");
}

// The browsing starts in the roam mode, on the recommendation wall.
void CQX_MainWnd::SetUpBrowsing()
{
    CTopPanel& panel = CTopPanel::getInstance();
    panel.Initialise(this);
    CQX_SearchCondition::getInstance().SetOwner(this);
    CQX_ModeManager& modes = CQX_ModeManager::getInstance();
    modes.SetOwner(this);
    modes.SwitchMode(ModeRoam);
    ApplyBigPictures(modes.GetCurrentMode().IsBigPictures());
    panel.UpdateHistoryButtons();
}

void CQX_MainWnd::ActivateRoamButton(bool force)
{
    if (force || !CTopPanel::getInstance().IsEditActive())
        m_roamButton->activate();
}

int CQX_MainWnd::GetFirstVisibleIndex() const
{
    return CProductWall::getInstance().GetFirstVisibleIndex();
}

void CQX_MainWnd::Redisplay(bool force)
{
    const int first = GetFirstVisibleIndex();
    if (!force && first == m_lastFirstIndex)
        return;
    DisplayProduct(first, first + CProductWall::getInstance().Layout().ScreenCount());
    m_lastFirstIndex = first;
}

void CQX_MainWnd::ResetWall(int first)
{
    RequestProducts({});
}

void CQX_MainWnd::ClearWallAndPanels()
{
    CLeftPanel& panel = CLeftPanel::getInstance();
    panel.Reset();
    panel.Hide();
    CloseDetailWindow();
}

void CQX_MainWnd::RequestProducts(const std::vector<int>& positions)
{
    if (m_downloader)
        m_downloader->downloadProducts(positions);
}

void CQX_MainWnd::OpenProduct(int position)
{
    if (CDetailWindow* detail = CDetailWindow::getInstance())
        detail->OpenProduct(position);
}

void CQX_MainWnd::CloseDetailWindow()
{
    if (CDetailWindow* detail = CDetailWindow::getInstance())
        detail->Close();
}

void CQX_MainWnd::SetScrollLimitForScreen()
{
}

void CQX_MainWnd::ApplyBigPictures(bool big)
{
    CProductWall::getInstance().SetBigPictures(big);
    UpdateBigSmallButton();
}

void CQX_MainWnd::UpdateBigSmallButton()
{
    const bool big = CQX_ModeManager::getInstance().GetCurrentMode().IsBigPictures();
    const char* image = big ? "set:FirstPageMore image:SmallPic" : "set:FirstPageMore image:BigPic";
    CEGuiCompat::SetProperty(m_bigSmallButton, "NormalImage", image);
    CEGuiCompat::SetProperty(m_bigSmallButton, "PushedImage", image);
    CEGuiCompat::SetProperty(m_bigSmallButton, "HoverImage",
                             big ? "set:FirstPageMore image:SmallPicHighLight" : "set:FirstPageMore image:BigPicHighLight");
    m_bigSmallButton->setTooltipText(CEGuiCompat::Utf8(big ? "小图显示商品" : "大图显示商品"));
}

void CQX_MainWnd::UpdateModeButtons()
{
    if (!m_roamButton)
        return;
    m_roamButton->enable();
    m_favoriteButton->enable();
    m_todayButton->enable();
    switch (CQX_ModeManager::getInstance().GetCurrentKind()) {
    case ModeFavoriteProducts:
    case ModeFavoriteShops: m_favoriteButton->disable(); break;
    case ModeToday: m_todayButton->disable(); break;
    default: m_roamButton->disable(); break;
    }
}

void CQX_MainWnd::ShowSpeedText(bool on)
{
}

bool CQX_MainWnd::OnBigSmall(const CEGUI::EventArgs&)
{
    Redisplay(true);
    CQX_BaseMode& mode = CQX_ModeManager::getInstance().GetCurrentMode();
    mode.SetBigPictures(!mode.IsBigPictures());
    ApplyBigPictures(mode.IsBigPictures());
    return true;
}

bool CQX_MainWnd::OnToday(const CEGUI::EventArgs&)
{
    CQX_ModeManager::getInstance().ShowToday();
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActToday);
    return true;
}

bool CQX_MainWnd::OnFavorites(const CEGUI::EventArgs&)
{
    CQX_ModeManager::getInstance().ShowFavorites();
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActFavorites);
    return true;
}

bool CQX_MainWnd::OnRoam(const CEGUI::EventArgs&)
{
    CQX_ModeManager& modes = CQX_ModeManager::getInstance();
    const int kind = modes.GetCurrentKind();
    if (kind == ModeSearch || kind == ModeSimpleSearch || kind == ModeRoam || kind == ModeShop)
        return true;
    modes.GoBack();
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActRoam);
    return true;
}

bool CQX_MainWnd::OnClose(const CEGUI::EventArgs&)
{
    CEGuiBaseApplication::SetQuitting(true);
    return true;
}

bool CQX_MainWnd::OnAboutUs(const CEGUI::EventArgs&)
{
    OpenURLInBrowser(CQXServiceHost::Url("/quobrix/index.htm"));
    return true;
}

bool CQX_MainWnd::OnRootMouseMove(const CEGUI::EventArgs& e)
{
    // The hover pick follows 300 ms after the mouse comes to rest.
    const CEGUI::Vector2f& position = static_cast<const CEGUI::MouseEventArgs&>(e).position;
    if (std::fabs(position.d_x - m_mouseX) >= kMouseMoveThreshold ||
        std::fabs(position.d_y - m_mouseY) >= kMouseMoveThreshold) {
        m_mouseX = position.d_x;
        m_mouseY = position.d_y;
        m_lastPickTick = m_frameTime;
    }
    return false;
}

void CQX_MainWnd::RenderScene(uint32_t now)
{
    m_frameTime = now;
    auto& timers = CQX_TimerList::getInstance();
    timers.SetClock(now);
    if (timers.IsDue())
        timers.FireDueTimers();
    RenderDevice* device = Device();
    if (!device)
        return;
    UpdateCamera(now);
    UpdateHoveredCard(now);
    CProductWall::getInstance().Render(now);
    Redisplay(false);
    CQX_NoticeBoard::getInstance().DrawUnder(now);
}

void CQX_MainWnd::UpdateCamera(uint32_t now)
{
    m_cameraDistance.UpdateAt(now);
    m_cameraTilt.UpdateAt(now);
    CSceneCamera::UpdateView(*Device(), m_cameraDistance.Value(), m_cameraTilt.Value());
}

void CQX_MainWnd::UpdateHoveredCard(uint32_t now)
{
    if (!TickBefore(m_lastPickTick + kPickInterval, now))
        return;
    CProductWall& wall = CProductWall::getInstance();
    const int hit = wall.Pick(now, CSceneCamera::BuildPickRay(*Device(), m_mouseX, m_mouseY));
    const bool mouseStill = std::fabs(m_mouseX - m_pickX) < kStillMouse && std::fabs(m_mouseY - m_pickY) < kStillMouse;
    if (hit < 0 || (hit != wall.GetHoveredIndex() && mouseStill)) {
        // Nothing under the mouse, or the wall moved under a resting mouse.
        wall.SetHoveredIndex(-1);
    } else {
        wall.SetHoveredIndex(hit);
        m_pickX = m_mouseX;
        m_pickY = m_mouseY;
    }
    m_lastPickTick = now;
}

void CQX_MainWnd::DisplayProduct(int first, int last)
{
    const CProductWall& wall = CProductWall::getInstance();
    const int total =
        std::min(CQX_ModeManager::getInstance().GetCurrentMode().GetProductCount(), CQX_WaitingDisplayList::kMaxProducts);
    const std::vector<int> positions =
        CQX_WaitingDisplayList::Build(first, last, wall.Layout().rows, wall.Layout().columns, total,
                                      [&wall](int index) { return wall.HasCard(index); });
    if (!positions.empty())
        RequestProducts(positions);
}

bool CQX_MainWnd::IsSceneMoving() const
{
    return CProductWall::getInstance().IsMoving();
}

void CQX_MainWnd::RenderOverlay(uint32_t now)
{
    if (Device())
        CQX_NoticeBoard::getInstance().DrawOver(now);
}

void CQX_MainWnd::OnViewResized()
{
    CProductWall::getInstance().RebuildGeometry();
}

void CQX_MainWnd::ShowStartupPicture()
{
    SetCurrentDir(GetModuleDir());
    RenderDevice* device = Device();
    if (!device)
        return;
    device->SetTransform(TransformType::View,
                         D3DXMatrixLookAtLH(D3DXVECTOR3(0, 0, -500), D3DXVECTOR3(0, 0, 500), D3DXVECTOR3(0, 1, 0)));
    CQX_NoticePicture picture;
    if (picture.Load(*device, "../datafiles/imagesets/program_start.jpg", 0, CQX_NoticePicture::kWidth,
                     CQX_NoticePicture::kHeight))
        picture.Draw(CQX_NoticePicture::Whole);
}

void CQX_MainWnd::OnIdle()
{
    CRenderMsgQueue::getInstance().ProcessNextMsg();
}

void CQX_MainWnd::WaitForRecommendCatalogue()
{
    auto& catalogue = CQXRecommendCatalogue::getInstance();
    while (!catalogue.IsReady())
        Sleep(100);
}

void CQX_MainWnd::OnOneRenderLoopEnd()
{
    if (!m_initialised) {
        CDetailWindow::CreateDetailWindow("Detail Information");
        CTopPanel& panel = CTopPanel::getInstance();
        panel.FinishSetup();
        WaitForRecommendCatalogue();
        panel.ApplyCatalogue();
        Redisplay(true);
        CEGuiCompat::Context().getMouseCursor().show();
        m_initialised = true;
    }
    if (!PostFarCards())
        CRenderMsgQueue::getInstance().ProcessNextMsg();
}

bool CQX_MainWnd::PostFarCards()
{
    if (++m_frameCounter > kCollectFrames) {
        m_frameCounter = 0;
        return false;
    }
    std::vector<int> collected = CProductWall::getInstance().CollectFarCards();
    if (collected.empty())
        return false;
    CHeavyCostRenderMsgQueue::getInstance().PushToHead(std::make_unique<CHeavyCostMsg_ProductCleanedInRenderThread>(
        CQX_GlobalVariable::getInstance().GetSearchID(), std::move(collected)));
    return true;
}

void CQX_MainWnd::Cleanup()
{
    CQX_GlobalVariable::getInstance().SetQuitting();
    if (auto* app = CEGuiD3D9BaseApplication::Instance())
        app->GetD3DState()->window->Hide();
    {
        std::lock_guard<std::mutex> guard(CRenderDeviceLock::Mutex());
        CRenderDeviceLock::SetDeviceUsable(false);
    }
    // The worker may still be making textures from the device: it stops first.
    CRenderWorker::getInstance().Stop();
    CQXConfig::getInstance().Save();
    CQXLoginClientApi::SendUsageStatistics();
    Sleep(100);
    // The detail window's page needs the GUI to release its image.
    CDetailWindow::Destroy();
    DeleteApplication();
    StopDownloads();
}

// Every download thread is asked to stop and joined: none is killed, none
// outlives the program.
void CQX_MainWnd::StopDownloads()
{
    if (m_downloader)
        m_downloader->Stop();
    m_downloader = nullptr;
}
