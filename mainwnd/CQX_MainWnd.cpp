#include "mainwnd/CQX_MainWnd.h"

#include "common/CEGuiCompat.h"
#include "common/CEGuiD3D9BaseApplication.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticePicture.h"
#include "mainwnd/CQX_TimerList.h"
#include "platform/Browser.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"
#include "render/CRenderDeviceLock.h"
#include "service/CQXConfig.h"
#include "service/CQXLoginClientApi.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"

#include <unistd.h>

const char* const CQX_MainWnd::kFontFiles[4] = {"simhei.TTF", "simsun.ttc", "MSYH.ttf", "simfang.ttf"};

namespace {

const char* const kNormalFont = "qx_font_normal";
const char* const kLargeFont = "qx_font_large";

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

CQX_MainWnd::CQX_MainWnd() = default;

CQX_MainWnd::~CQX_MainWnd() = default;

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
    {
        std::lock_guard<std::mutex> guard(CRenderDeviceLock::Mutex());
        if (CRenderDeviceLock::IsDeviceUsable())
            CQX_GlobalVariable::getInstance().SetDevice(Device());
    }
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
    ActivateRoamButton();
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
    for (const std::string& file : FontCandidates()) {
        if (!FontFileExists(file) || fonts.isDefined(kNormalFont))
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

void CQX_MainWnd::SubscribeEvents()
{
    CEGuiCompat::GetWindow("TopPannel/Close")
        ->subscribeEvent(CEGUI::Window::EventMouseClick, CEGUI::Event::Subscriber(&CQX_MainWnd::OnClose, this));
    CEGuiCompat::GetWindow("BottomPannel/AboutUs")
        ->subscribeEvent(CEGUI::Window::EventMouseClick, CEGUI::Event::Subscriber(&CQX_MainWnd::OnAboutUs, this));
    CEGuiCompat::GetWindow("MotionControl/FasterAutoMoveBtn")->hide();
    CEGuiCompat::GetWindow("MotionControl/SlowerAutoMoveBtn")->hide();
    m_favoriteButton = CEGuiCompat::GetWindow("BottomPannel/FavoriteBtn");
    m_todayButton = CEGuiCompat::GetWindow("BottomPannel/TodayBtn");
    m_roamButton = CEGuiCompat::GetWindow("BottomPannel/RoamBtn");
}

void CQX_MainWnd::ActivateRoamButton()
{
    m_roamButton->activate();
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

void CQX_MainWnd::RenderScene(uint32_t now)
{
    m_frameTime = now;
    auto& timers = CQX_TimerList::getInstance();
    timers.SetClock(now);
    if (timers.IsDue())
        timers.FireDueTimers();
}

void CQX_MainWnd::RenderOverlay(uint32_t now)
{
}

void CQX_MainWnd::OnViewResized()
{
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
        WaitForRecommendCatalogue();
        CEGuiCompat::Context().getMouseCursor().show();
        m_initialised = true;
    }
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
    CQXConfig::getInstance().Save();
    CQXLoginClientApi::SendUsageStatistics();
    Sleep(100);
    DeleteApplication();
}
