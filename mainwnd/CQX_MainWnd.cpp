#include "mainwnd/CQX_MainWnd.h"

#include "common/CEGuiCompat.h"
#include "common/CEGuiD3D9BaseApplication.h"
#include "common/CEGuiOnDemandFont.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_NoticePicture.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CQX_TimerList.h"
#include "mainwnd/CQX_WaitingDisplayList.h"
#include "mainwnd/CTopPanel.h"
#include "panels/CButtonLooks.h"
#include "panels/CDetailWindow.h"
#include "panels/CLeftPanel.h"
#include "platform/Browser.h"
#include "platform/FileSystem.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "platform/SessionInterrupter.h"
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
// How long one idle call may spend handing render messages over.
constexpr uint32_t kIdleBudgetMs = 4;
// The longest the top panel's lists wait for the start-up screen.
constexpr uint32_t kSetupDelayMs = 2000;
constexpr float kMouseMoveThreshold = 2;
// Far cards are collected on five frames out of six.
constexpr int kCollectFrames = 5;
// The frame loop runs unthrottled this long after an input.
constexpr uint32_t kBusyAfterInput = 300;
constexpr uint32_t kDistanceAnimationMs = 400;
constexpr uint32_t kTiltAnimationMs = 100;
constexpr uint32_t kCameraResetMs = 500;
constexpr uint32_t kPrefetchIntervalPerLevel = 2500;
constexpr double kWheelStep = 60;
constexpr double kKeyTiltStep = 15;
constexpr double kKeyDistanceStep = 90;
constexpr CEGUI::String::value_type kEscape = 27;
const char* const kArrowCursor = "set:size image:MouseCursor";
const char* const kHandCursor = "set:size image:HandMouseCursor";

bool IsFrameStatsWanted()
{
    static const bool wanted = [] {
        const char* value = getenv("QUOBRIX_FRAME_STATS");
        return value && std::string(value) == "1";
    }();
    return wanted;
}

RenderDevice* ApplicationDevice()
{
    auto* app = CEGuiD3D9BaseApplication::Instance();
    return app ? app->GetD3DState()->device.get() : nullptr;
}

// A resource group with no folder: font files are named by their full paths.
const char* const kFullPaths = "qx-full-paths";

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
    std::vector<std::string> files;
    for (const char* classic : kFontFiles)
        files.push_back(GetWindowsFontsDir() + classic);
    for (std::string& cjk : FindCjkFontFiles())
        files.push_back(std::move(cjk));
    return files;
}

RenderDevice* CQX_MainWnd::Device() const
{
    return ApplicationDevice();
}

bool CQX_MainWnd::InitialiseSample()
{
    CQX_AutoPlay::Rebase(CProductWall::getInstance().Motion(), CQX_GlobalVariable::getInstance().GetSpeedLevel());
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
        ReportMissingFonts();
        MessageBox::Show("请安装中文字体（雅黑，黑体或宋体），然后再启动程序!", "提示", MsgBoxButtons::Ok,
                         MsgBoxIcon::Error);
        _exit(1);
    }
    LoadLayout();
    m_noticeDialog.Create(CEGuiCompat::Context().getRootWindow());
    SubscribeEvents();
    CLeftPanel::getInstance().Initialise(this);
    if (RenderDevice* device = Device())
        CProductWall::getInstance().InitDevice(*device);
    SetUpBrowsing();
    if (CQXRecommendCatalogue::getInstance().IsReady())
        Redisplay(true);
    CRenderWorker::getInstance().Start();
    ActivateRoamButton(true);
    // The program runs: what the settings were asked to keep may be written now.
    CQXConfig::getInstance().ReleaseSaves();
    Log::Info("main screen ready");
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

void CQX_MainWnd::ReportMissingFonts()
{
    std::string tried;
    for (const std::string& file : FontCandidates())
        tried += (tried.empty() ? "" : ", ") + file;
    fprintf(stderr, "quobrix: no Chinese font could be loaded; looked for %s and any Chinese font fontconfig knows\n",
            tried.c_str());
}

bool CQX_MainWnd::CreateFonts()
{
    auto& fonts = CEGUI::FontManager::getSingleton();
    if (fonts.isDefined(kNormalFont))
        return true;
    for (const std::string& file : FontCandidates()) {
        if (!IsRegularFile(file))
            continue;
        CEGUI_TRY
        {
            CEGuiOnDemandFont::Create(kNormalFont, 7, file, kFullPaths, CEGUI::ASM_Vertical, CEGUI::Sizef(640, 480));
            CEGuiOnDemandFont::Create(kLargeFont, 10, file, kFullPaths, CEGUI::ASM_Vertical, CEGUI::Sizef(640, 480));
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
    Subscribe("Root", CEGUI::Window::EventCharacterKey, &CQX_MainWnd::OnRootCharacter);
    Subscribe("Root", CEGUI::Window::EventKeyDown, &CQX_MainWnd::OnRootKeyDown);
    Subscribe("Root", CEGUI::Window::EventMouseMove, &CQX_MainWnd::OnRootMouseMove);
    Subscribe("Root", CEGUI::Window::EventMouseButtonDown, &CQX_MainWnd::OnRootButtonDown);
    Subscribe("Root", CEGUI::Window::EventMouseButtonUp, &CQX_MainWnd::OnRootButtonUp);
    Subscribe("Root", CEGUI::Window::EventMouseWheel, &CQX_MainWnd::OnRootWheel);
    Subscribe("Root", click, &CQX_MainWnd::OnRootClick);
    // The wall's surface, not its area: a drag ends when the mouse moves onto
    // a bar or a panel, where the button may be released unseen.
    Subscribe("Root", CEGUI::Window::EventMouseLeavesSurface, &CQX_MainWnd::OnRootMouseLeave);
    Subscribe("MotionControl/PrevBtn", click, &CQX_MainWnd::OnPrevious);
    Subscribe("MotionControl/NextBtn", click, &CQX_MainWnd::OnNext);
    Subscribe("MotionControl/FirstBtn", click, &CQX_MainWnd::OnFirst);
    Subscribe("MotionControl/PrevPrevBtn", click, &CQX_MainWnd::OnTenTimesPrevious);
    Subscribe("MotionControl/NextNextBtn", click, &CQX_MainWnd::OnTenTimesNext);
    Subscribe("MotionControl/AutoPlayStopBtn", click, &CQX_MainWnd::OnPlayStop);
    Subscribe("MotionControl/FasterAutoMoveBtn", click, &CQX_MainWnd::OnFaster);
    Subscribe("MotionControl/SlowerAutoMoveBtn", click, &CQX_MainWnd::OnSlower);
    m_autoPlay.Attach();
    // Every press on the wall starts a drag, however quickly it follows the last.
    CEGuiCompat::GetWindow("Root")->setWantsMultiClickEvents(false);
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

void CQX_MainWnd::SearchByCategory(const std::string& categoryId)
{
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActCategoryChosen);
    Narrow(
        [&categoryId](CTaobaoSearchParams& search) {
            search.cid = categoryId;
            search.props.clear();
        },
        CTaobaoDataStore::KeepCategories);
}

void CQX_MainWnd::SearchByProperty(const std::string& propertyValue)
{
    Narrow([&propertyValue](CTaobaoSearchParams& search) { search.props = propertyValue; },
           CTaobaoDataStore::KeepProperties);
}

void CQX_MainWnd::Narrow(const std::function<void(CTaobaoSearchParams&)>& refine, CTaobaoDataStore::BrowseKeep keep)
{
    auto& notice = CQX_NoticeBoard::getInstance();
    auto& global = CQX_GlobalVariable::getInstance();
    notice.SetState(CQX_NoticeBoard::None);
    global.SearchIDChange();
    CProductWall::getInstance().ClearCards();
    DownloadProducts({});
    auto& store = CTaobaoDataStore::getInstance();
    CTaobaoSearchParams search = store.copySearch();
    refine(search);
    store.setSearch(search);
    store.resetBrowseData(1, keep);
    global.SearchIDChange();
    Redisplay(true);
    CloseDetailWindow();
    notice.SetState(CQX_NoticeBoard::NewBrowse);
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
    DropFarWork();
    DisplayProduct(first, first + CProductWall::getInstance().Layout().ScreenCount());
    m_lastFirstIndex = first;
}

void CQX_MainWnd::ResetWall(int first)
{
    CProductWall& wall = CProductWall::getInstance();
    wall.ClearCards();
    // The limit admits the position asked for, so a restored position holds.
    wall.SetScrollLimit(first + wall.Layout().ScreenCount());
    wall.ScrollToIndex(first);
}

void CQX_MainWnd::ClearWallAndPanels()
{
    CLeftPanel& panel = CLeftPanel::getInstance();
    panel.Reset();
    panel.Hide();
    CloseDetailWindow();
    CProductWall::getInstance().ClearCards();
}

void CQX_MainWnd::DownloadProducts(const std::vector<int>& positions)
{
    if (m_downloader)
        m_downloader->downloadProducts(positions);
}

void CQX_MainWnd::RequestShopAndSeller(const std::string& nick)
{
    if (!m_downloader)
        return;
    m_downloader->requestShopInfo(nick);
    m_downloader->requestUserInfo(nick);
}

void CQX_MainWnd::OpenProduct(int position)
{
    CDetailWindow* detail = CDetailWindow::getInstance();
    if (!detail)
        return;
    if (position != detail->GetCurrentPosition() && !detail->GetRoot()->isVisible())
        ShowLoadingBanner();
    detail->OpenProduct(position);
}

// One frame at once, before the details are asked for: the loading notice
// over the last frame, so the click is answered while the window fills.
void CQX_MainWnd::ShowLoadingBanner()
{
    RenderDevice* device = Device();
    if (!device || !device->BeginScene())
        return;
    CQX_NoticeBoard& notice = CQX_NoticeBoard::getInstance();
    notice.SetState(CQX_NoticeBoard::OpeningProduct);
    notice.DrawUnder(m_frameTime);
    notice.SetState(CQX_NoticeBoard::None);
    device->EndScene();
    device->Present();
}

void CQX_MainWnd::CloseDetailWindow()
{
    if (CDetailWindow* detail = CDetailWindow::getInstance())
        detail->Close();
}

void CQX_MainWnd::CollapseLeftPanel()
{
    CLeftPanel& panel = CLeftPanel::getInstance();
    if (panel.IsShown())
        panel.Collapse();
}

void CQX_MainWnd::SetScrollLimitForScreen()
{
    CProductWall& wall = CProductWall::getInstance();
    wall.SetScrollLimit(wall.GetFirstVisibleIndex() + wall.Layout().ScreenCount());
}

void CQX_MainWnd::SetScrollLimitForMode()
{
    CProductWall::getInstance().SetScrollLimit(CQX_ModeManager::getInstance().GetCurrentMode().GetProductCount());
}

int CQX_MainWnd::GetCappedProductCount() const
{
    return std::min(CQX_ModeManager::getInstance().GetCurrentMode().GetProductCount(),
                    CQX_WaitingDisplayList::kMaxProducts);
}

void CQX_MainWnd::ApplyBigPictures(bool big)
{
    CProductWall::getInstance().SetBigPictures(big);
    UpdateBigSmallButton();
}

void CQX_MainWnd::UpdateBigSmallButton()
{
    // With big pictures the button offers small ones, and the other way round.
    static const CButtonLooks kOfferSmall = {"set:FirstPageMore image:SmallPic", "set:FirstPageMore image:SmallPicHighLight",
                                             "set:FirstPageMore image:SmallPic", "小图显示商品"};
    static const CButtonLooks kOfferBig = {"set:FirstPageMore image:BigPic", "set:FirstPageMore image:BigPicHighLight",
                                           "set:FirstPageMore image:BigPic", "大图显示商品"};
    const bool big = CQX_ModeManager::getInstance().GetCurrentMode().IsBigPictures();
    (big ? kOfferSmall : kOfferBig).ApplyTo(m_bigSmallButton);
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
    m_autoPlay.ShowSpeedText(CProductWall::getInstance().Motion(), on);
}

void CQX_MainWnd::MarkBusy()
{
    m_lastInputTick = m_frameTime;
    m_completionReported = false;
    auto& global = CQX_GlobalVariable::getInstance();
    const uint32_t until = m_frameTime + kBusyAfterInput;
    if (TickBefore(global.GetBusyUntil(), until))
        global.SetBusyUntil(until);
}

void CQX_MainWnd::AnimateTo(CNumMotion& motion, double target, uint32_t now, uint32_t duration)
{
    const double current = motion.Value();
    motion.Reset();
    motion.AddKey(current, now);
    motion.AddKey(target, now + duration);
}

void CQX_MainWnd::ChangeDistance(double delta)
{
    const double target = std::clamp(m_cameraDistance.Value() + delta, CSceneCamera::kFarthestDistance,
                                     CSceneCamera::kNearestDistance);
    AnimateTo(m_cameraDistance, target, m_frameTime, kDistanceAnimationMs);
}

void CQX_MainWnd::ChangeTilt(double delta)
{
    const double target = std::clamp(m_cameraTilt.Value() - delta, -CSceneCamera::kMaxTilt, CSceneCamera::kMaxTilt);
    AnimateTo(m_cameraTilt, target, m_frameTime, kTiltAnimationMs);
}

void CQX_MainWnd::ResetCamera()
{
    const double distance = m_cameraDistance.Value();
    if (std::fabs(distance - CSceneCamera::kRestingDistance) >= 0.01)
        AnimateTo(m_cameraDistance, CSceneCamera::kRestingDistance, m_frameTime, kCameraResetMs);
    AnimateTo(m_cameraTilt, 0, m_frameTime, kCameraResetMs);
}

void CQX_MainWnd::StartAutoPlay()
{
    CProductWall& wall = CProductWall::getInstance();
    if (wall.GetFirstVisibleIndex() >= GetCappedProductCount())
        return;
    CollapseLeftPanel();
    SetScrollLimitForMode();
    m_autoPlay.Start(wall.Motion(), m_frameTime);
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActAutoPlayStart);
}

void CQX_MainWnd::StopAutoPlay()
{
    m_autoPlay.Stop(CProductWall::getInstance().Motion());
}

void CQX_MainWnd::KeepAutoPlaying(bool resume)
{
    CScrollMotion& motion = CProductWall::getInstance().Motion();
    if (resume)
        CQX_AutoPlay::Resume(motion, m_frameTime);
    // Auto-play outlives a new browse: the wall's end follows the results as they arrive.
    SetScrollLimitForMode();
    PrefetchAhead(false);
    if (!motion.autoPlay)
        StopAutoPlay();
}

void CQX_MainWnd::PrefetchAhead(bool force)
{
    if (!force && !TickBefore(m_nextPrefetchTick, m_frameTime))
        return;
    const CProductWall& wall = CProductWall::getInstance();
    const int first = std::max(0, wall.GetFirstVisibleIndex());
    const int count = CQX_ModeManager::getInstance().GetCurrentMode().GetProductCount();
    const int capped = std::min(count, CQX_WaitingDisplayList::kMaxProducts);
    int end = first + 3 * wall.Layout().ScreenCount();
    if (end >= capped)
        end = capped - 1;
    DropFarWork();
    std::vector<int> missing;
    for (int i = first; i <= end; ++i)
        if (!IsShownOrOnItsWay(i))
            missing.push_back(i);
    if (!missing.empty())
        CQX_ModeManager::getInstance().GetCurrentMode().Display(missing);
    m_nextPrefetchTick = m_frameTime + CQX_GlobalVariable::getInstance().GetSpeedLevel() * kPrefetchIntervalPerLevel;
}

bool CQX_MainWnd::PickCard(float x, float y)
{
    CProductWall& wall = CProductWall::getInstance();
    int hit = -1;
    if (RenderDevice* device = Device()) {
        CSceneCamera::UpdateView(*device, m_cameraDistance.Value(), m_cameraTilt.Value());
        hit = wall.Pick(m_frameTime, CSceneCamera::BuildPickRay(*device, x, y));
    }
    if (hit < 0) {
        if (m_initialised)
            CloseDetailWindow();
        return false;
    }
    wall.SetHoveredIndex(-1);
    // Auto-play pauses while the product is open.
    wall.Motion().autoPlay = false;
    CQX_ModeManager::getInstance().GetCurrentMode().OnClickProduct(hit);
    return true;
}

void CQX_MainWnd::SetCursor(const char* classicImage)
{
    CEGuiCompat::Context().getMouseCursor().setDefaultImage(CEGuiCompat::ImageName(classicImage));
}

bool CQX_MainWnd::OnBigSmall(const CEGUI::EventArgs&)
{
    if (m_autoPlay.IsOn())
        PrefetchAhead(true);
    else
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

bool CQX_MainWnd::OnRootCharacter(const CEGUI::EventArgs& e)
{
    if (static_cast<const CEGUI::KeyEventArgs&>(e).codepoint != kEscape)
        return false;
    if (m_initialised)
        CloseDetailWindow();
    return true;
}

// A text field passes on the keys it does not use itself; they are still
// the field's, never the wall's or the camera's.
bool CQX_MainWnd::IsInTextField(const CEGUI::Window* window)
{
    for (; window; window = window->getParent()) {
        if (dynamic_cast<const CEGUI::Editbox*>(window) || dynamic_cast<const CEGUI::Combobox*>(window))
            return true;
    }
    return false;
}

bool CQX_MainWnd::OnRootKeyDown(const CEGUI::EventArgs& e)
{
    // The arguments name the root by now: the field that had the key is the active one.
    const CEGUI::Window* root = CEGuiCompat::Context().getRootWindow();
    if (root && IsInTextField(root->getActiveChild()))
        return false;
    switch (static_cast<const CEGUI::KeyEventArgs&>(e).scancode) {
    case CEGUI::Key::Space: ResetCamera(); break;
    case CEGUI::Key::ArrowUp: ChangeTilt(-kKeyTiltStep); break;
    case CEGUI::Key::ArrowDown: ChangeTilt(kKeyTiltStep); break;
    case CEGUI::Key::PageUp: m_navigator.Previous(); break;
    case CEGUI::Key::PageDown: m_navigator.Next(); break;
    case CEGUI::Key::ArrowLeft: ChangeDistance(-kKeyDistanceStep); break;
    case CEGUI::Key::ArrowRight: ChangeDistance(kKeyDistanceStep); break;
    default: return false;
    }
    return true;
}

bool CQX_MainWnd::OnRootButtonDown(const CEGUI::EventArgs& e)
{
    const CEGUI::Vector2f& position = static_cast<const CEGUI::MouseEventArgs&>(e).position;
    m_navigator.BeginDrag(position.d_x, position.d_y, m_frameTime);
    SetCursor(kHandCursor);
    return true;
}

bool CQX_MainWnd::OnRootButtonUp(const CEGUI::EventArgs&)
{
    EndDrag();
    return true;
}

bool CQX_MainWnd::OnRootMouseLeave(const CEGUI::EventArgs&)
{
    EndDrag();
    return true;
}

// Wherever the drag ends (on the wall or where the mouse left it for a bar),
// the grabbing hand goes with it.
void CQX_MainWnd::EndDrag()
{
    m_navigator.EndDrag();
    SetCursor(kArrowCursor);
}

bool CQX_MainWnd::OnRootWheel(const CEGUI::EventArgs& e)
{
    ChangeDistance(static_cast<const CEGUI::MouseEventArgs&>(e).wheelChange * kWheelStep);
    return true;
}

bool CQX_MainWnd::IsOnOtherWindow(const CEGUI::Vector2f& position) const
{
    CEGUI::Window* root = CEGuiCompat::Context().getRootWindow();
    CEGUI::Window* target = root ? root->getTargetChildAtPosition(position) : nullptr;
    return target && target != root;
}

bool CQX_MainWnd::OnRootClick(const CEGUI::EventArgs& e)
{
    const CEGUI::Vector2f& position = static_cast<const CEGUI::MouseEventArgs&>(e).position;
    if (IsOnOtherWindow(position))
        return false;
    ActivateRoamButton(true);
    CEGUI::Window* location = CEGuiCompat::GetWindow("MotionControl/Location");
    if (location->isActive()) {
        location->deactivate();
        return false;
    }
    if (m_initialised && IsDetailWindowVisible() && IsOnWindow(CDetailWindow::getInstance()->GetRoot(), position))
        return false;
    if (!PickCard(position.d_x, position.d_y))
        ResetCamera();
    return true;
}

bool CQX_MainWnd::OnPrevious(const CEGUI::EventArgs&)
{
    m_navigator.Previous();
    return true;
}

bool CQX_MainWnd::OnNext(const CEGUI::EventArgs&)
{
    m_navigator.Next();
    return true;
}

bool CQX_MainWnd::OnFirst(const CEGUI::EventArgs&)
{
    m_navigator.First();
    return true;
}

bool CQX_MainWnd::OnTenTimesPrevious(const CEGUI::EventArgs&)
{
    m_navigator.TenTimesPrevious();
    return true;
}

bool CQX_MainWnd::OnTenTimesNext(const CEGUI::EventArgs&)
{
    m_navigator.TenTimesNext();
    return true;
}

bool CQX_MainWnd::OnPlayStop(const CEGUI::EventArgs&)
{
    MarkBusy();
    if (m_autoPlay.IsOn())
        StopAutoPlay();
    else
        StartAutoPlay();
    return true;
}

bool CQX_MainWnd::OnFaster(const CEGUI::EventArgs&)
{
    m_autoPlay.Faster(CProductWall::getInstance().Motion());
    PrefetchAhead(false);
    return true;
}

bool CQX_MainWnd::OnSlower(const CEGUI::EventArgs&)
{
    m_autoPlay.Slower(CProductWall::getInstance().Motion());
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
    MarkBusy();
    const CEGUI::Vector2f& position = static_cast<const CEGUI::MouseEventArgs&>(e).position;
    if (m_navigator.IsDragging()) {
        if (m_initialised && IsDetailWindowVisible() && IsOnWindow(CDetailWindow::getInstance()->GetRoot(), position))
            return false;
        m_navigator.DragTo(position.d_x, position.d_y, m_frameTime);
        return true;
    }
    // The hover pick follows 300 ms after the mouse comes to rest.
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
    m_messageProcessed = false;
    // A release over a bar or a disabled button never reaches the wall.
    if (m_navigator.IsDragging() &&
        !CEGuiCompat::Context().getSystemKeys().isPressed(CEGUI::SystemKeys::LeftMouse))
        EndDrag();
    auto& timers = CQX_TimerList::getInstance();
    timers.SetClock(now);
    if (timers.IsDue())
        timers.FireDueTimers();
    m_cameraDistance.UpdateAt(now);
    m_cameraTilt.UpdateAt(now);
    const bool detailWasVisible = m_detailVisible;
    m_detailVisible = IsDetailWindowVisible();
    RenderDevice* device = Device();
    if (device) {
        CSceneCamera::UpdateView(*device, m_cameraDistance.Value(), m_cameraTilt.Value());
        UpdateHoveredCard(now);
        CProductWall::getInstance().Render(now);
    }
    FollowShopInfo();
    ReportScreenCompletion();
    if (!m_autoPlay.IsOn())
        Redisplay(false);
    else if (!m_detailVisible)
        KeepAutoPlaying(detailWasVisible);
    if (device)
        CQX_NoticeBoard::getInstance().DrawUnder(now);
}

// For the scrolling benchmarks (QUOBRIX_FRAME_STATS=1): how long after the
// last input the screen in view had every card and kept having them, told
// once the wall has stopped gliding (it slides the last units slowly).
void CQX_MainWnd::ReportScreenCompletion()
{
    if (m_completionReported || !IsFrameStatsWanted())
        return;
    const CProductWall& wall = CProductWall::getInstance();
    if (!IsScreenInViewComplete()) {
        m_completeFirstIndex = -1;
        return;
    }
    if (wall.GetFirstVisibleIndex() != m_completeFirstIndex) {
        m_completeFirstIndex = wall.GetFirstVisibleIndex();
        m_completeSinceTick = m_frameTime;
    }
    if (wall.IsGliding())
        return;
    m_completionReported = true;
    const int32_t after = static_cast<int32_t>(m_completeSinceTick - m_lastInputTick);
    fprintf(stderr, "quobrix: screen in view complete %d ms after the last input\n", std::max(after, 0));
}

bool CQX_MainWnd::IsScreenInViewComplete() const
{
    const CProductWall& wall = CProductWall::getInstance();
    const int first = wall.GetFirstVisibleIndex();
    const int end = std::min(first + wall.Layout().ScreenCount(), GetCappedProductCount());
    for (int i = first; i < end; ++i)
        if (!wall.HasCard(i))
            return false;
    return true;
}

void CQX_MainWnd::FollowShopInfo()
{
    if (CQX_ModeManager::getInstance().GetCurrentKind() != ModeShop)
        return;
    const CProductWall& wall = CProductWall::getInstance();
    CTopPanel::getInstance().ShowShopInfo(wall.GetFirstVisibleIndex() <= wall.Layout().ScreenCount());
}

bool CQX_MainWnd::IsDetailWindowVisible() const
{
    const CDetailWindow* detail = CDetailWindow::getInstance();
    return detail && detail->GetRoot()->isVisible();
}

// The hover highlight stays off while a product is open and while the mouse
// is over a control or outside the window.
bool CQX_MainWnd::IsWallCovered() const
{
    if (m_detailVisible)
        return true;
    CEGUI::GUIContext& context = CEGuiCompat::Context();
    CEGUI::Window* root = context.getRootWindow();
    return !root || context.getWindowContainingMouse() != root ||
           !IsOnWindow(root, context.getMouseCursor().getPosition());
}

bool CQX_MainWnd::IsOnWindow(const CEGUI::Window* window, const CEGUI::Vector2f& position)
{
    return window && window->isEffectiveVisible() && window->getUnclippedOuterRect().get().isPointInRect(position);
}

void CQX_MainWnd::UpdateHoveredCard(uint32_t now)
{
    if (!TickBefore(m_lastPickTick + kPickInterval, now))
        return;
    m_lastPickTick = now;
    CProductWall& wall = CProductWall::getInstance();
    if (IsWallCovered()) {
        wall.SetHoveredIndex(-1);
        return;
    }
    // Where the mouse is now: it may have moved over a window that hid the
    // wall, or the wall may have moved under it.
    const CEGUI::Vector2f mouse = CEGuiCompat::Context().getMouseCursor().getPosition();
    wall.SetHoveredIndex(wall.Pick(now, CSceneCamera::BuildPickRay(*Device(), mouse.d_x, mouse.d_y)));
}

void CQX_MainWnd::DisplayProduct(int first, int last)
{
    const CProductWall& wall = CProductWall::getInstance();
    const int total =
        std::min(CQX_ModeManager::getInstance().GetCurrentMode().GetProductCount(), CQX_WaitingDisplayList::kMaxProducts);
    const std::vector<int> positions =
        CQX_WaitingDisplayList::Build(first, last, wall.Layout().rows, wall.Layout().columns, total,
                                      [this](int index) { return IsShownOrOnItsWay(index); });
    if (!positions.empty())
        CQX_ModeManager::getInstance().GetCurrentMode().Display(positions);
}

// Cards the wall moved away from go before the missing positions are
// counted, so a position whose card was dropped is asked for again.
void CQX_MainWnd::DropFarWork()
{
    CRenderMsgQueue::getInstance().DropUnplaceable();
    CHeavyCostRenderMsgQueue::getInstance().DropUnplaceable();
}

bool CQX_MainWnd::IsShownOrOnItsWay(int index)
{
    return CProductWall::getInstance().HasCard(index) ||
           CCardClaims::getInstance().IsClaimed(CQX_GlobalVariable::getInstance().GetSearchID(), index);
}

// Slower than "moving", the wall still glides and swings on screen: held to
// 25 ms frames, its last stretch of motion stuttered.
bool CQX_MainWnd::IsSceneMoving() const
{
    return !CProductWall::getInstance().IsAtRest();
}

bool CQX_MainWnd::HasSceneChanged(uint32_t now)
{
    // A wall slower than "moving" still glides and swings back on screen.
    if (!m_initialised || m_messageProcessed || !CProductWall::getInstance().IsAtRest() || m_autoPlay.IsOn())
        return true;
    if (CQX_NoticeBoard::getInstance().GetChangeCount() != m_noticeChangesDrawn)
        return true;
    if (!m_cameraDistance.IsSettled() || !m_cameraTilt.IsSettled())
        return true;
    CQX_TimerList& timers = CQX_TimerList::getInstance();
    timers.SetClock(now);
    const uint32_t expiry = CQX_NoticeBoard::getInstance().GetExpiry();
    return timers.IsDue() || (expiry != 0 && !TickBefore(now, expiry));
}

void CQX_MainWnd::RenderOverlay(uint32_t now)
{
    // Read before drawing: a change while the notice is drawn is drawn next frame.
    m_noticeChangesDrawn = CQX_NoticeBoard::getInstance().GetChangeCount();
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

// The top panel's lists get their entries once the start-up screen is
// complete, or a while after the first frame when it cannot complete.
void CQX_MainWnd::ContinueSetup()
{
    if (m_setupFinished || !m_initialised)
        return;
    if (!IsScreenInViewComplete() && GetTickCount() - m_initialisedTick < kSetupDelayMs)
        return;
    m_setupFinished = CTopPanel::getInstance().ContinueSetup();
}

void CQX_MainWnd::OnIdle()
{
    m_noticeDialog.Poll();
    ContinueSetup();
    // A message only hands over what the worker made; taking them one per
    // call kept a finished screen waiting frames for its turn.
    const uint32_t start = GetTickCount();
    while (CRenderMsgQueue::getInstance().ProcessNextMsg()) {
        m_messageProcessed = true;
        if (GetTickCount() - start >= kIdleBudgetMs)
            break;
    }
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
        panel.BeginSetup();
        WaitForRecommendCatalogue();
        panel.ApplyCatalogue();
        Redisplay(true);
        CEGuiCompat::Context().getMouseCursor().show();
        m_initialised = true;
        m_initialisedTick = GetTickCount();
    }
    if (!PostFarCards())
        OnIdle();
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
    ReportQueuePeaks();
    CQX_GlobalVariable::getInstance().SetQuitting();
    // No thread waits out a server that does not answer.
    SessionInterrupter::getInstance().InterruptAll();
    CQX_DialogChannel::getInstance().Close();
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

// For the scrolling benchmarks: QUOBRIX_FRAME_STATS=1 prints the queues' peaks.
void CQX_MainWnd::ReportQueuePeaks()
{
    if (!IsFrameStatsWanted())
        return;
    fprintf(stderr, "quobrix: peak queues: render %zu, heavy %zu\n", CRenderMsgQueue::getInstance().PeakSize(),
            CHeavyCostRenderMsgQueue::getInstance().PeakSize());
}

// Every download thread is asked to stop and joined: none is killed, none
// outlives the program.
void CQX_MainWnd::StopDownloads()
{
    if (m_downloader)
        m_downloader->Stop();
    m_downloader = nullptr;
}
