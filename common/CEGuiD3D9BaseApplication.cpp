#include "common/CEGuiD3D9BaseApplication.h"

#include "common/CEGuiLogBridge.h"
#include "common/CEGuiResourceProvider.h"
#include "common/CEGuiSample.h"
#include "common/CEGuiWindowProcTarget.h"
#include "common/CEGuiWindowProcedure.h"
#include "common/FramePacing.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/AppFolders.h"
#include "platform/MessageBox.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/OpenGL/GLRenderer.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

std::atomic<CEGuiD3D9BaseApplication*> g_application{nullptr};

const char* const kTitle = "Quobrix";
constexpr int kInitialWidth = 800;
constexpr int kInitialHeight = 600;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

[[noreturn]] void FailInitialisation(const std::string& message, const std::string& detail)
{
    // The detail names what is missing: it alone makes the clearer line.
    MessageBox::Show(detail.empty() ? message : detail, kTitle, MsgBoxButtons::Ok, MsgBoxIcon::Error);
    throw InitialisationFailure("the application failed to initialise");
}

}

CEGuiD3D9BaseApplication::CEGuiD3D9BaseApplication()
    : m_state(new CD3D9AppState), m_startTick(GetTickCount())
{
    CreateWindowAndDevice();
    CreateGuiSystem();
    g_application.store(this);
    int width = 0, height = 0;
    m_state->window->GetOuterSize(width, height);
    SetProjection(width, height);
    StoreClientSize();
}

CEGuiD3D9BaseApplication::~CEGuiD3D9BaseApplication()
{
    g_application.store(nullptr);
    if (m_windowProc && m_windowProc->IsMouseInWindow())
        m_state->window->ShowSystemCursor(true);
    if (CEGUI::System::getSingletonPtr())
        CEGUI::System::destroy();
    if (m_state->renderer)
        CEGUI::OpenGLRenderer::destroy(*m_state->renderer);
    m_state->resources.reset();
    m_state->logger.reset();
    m_state->device.reset();
    m_state->window.reset();
}

CEGuiD3D9BaseApplication* CEGuiD3D9BaseApplication::Instance()
{
    return g_application.load();
}

void CEGuiD3D9BaseApplication::CreateWindowAndDevice()
{
    m_state->window.reset(new PlatformWindow);
    std::string error;
    if (!m_state->window->Create(kTitle, kInitialWidth, kInitialHeight, error)) {
        m_state->window.reset();
        FailInitialisation("Failed to create window.", error);
    }
    // Before the window is shown, so the window manager has it from the start.
    m_state->window->SetIcon(DataPath() + "/imagesets/quobrix.png");
    m_state->window->ShowMaximized();
    m_state->window->SetSwapInterval(1);
    m_state->device.reset(new RenderDevice(*m_state->window));
    m_procTarget.reset(new CEGuiWindowProcTarget(*m_state->window));
    m_windowProc.reset(new CEGuiWindowProcedure(*m_procTarget));
}

void CEGuiD3D9BaseApplication::CreateGuiSystem()
{
    int width = 0, height = 0;
    m_state->window->GetClientSize(width, height);
    CEGUI::OpenGLRenderer& renderer =
        CEGUI::OpenGLRenderer::create(CEGUI::Sizef(static_cast<float>(width), static_cast<float>(height)));
    // Our own fixed-function drawing changes GL state between GUI draws; the
    // renderer must set everything it relies on itself.
    renderer.enableExtraStateSettings(true);
    m_state->renderer = &renderer;

    CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
    CEGUI::System::setDefaultImageCodecName("FreeImageImageCodec");
    m_state->resources = std::make_unique<CEGuiResourceProvider>();
    CEGUI::DefaultResourceProvider* resources = m_state->resources.get();
    m_state->logger = std::make_unique<CEGuiLogBridge>();
    CEGUI::System::create(renderer, resources);

    const std::string data = DataPath();
    const char* groups[][2] = {{"schemes", "schemes/"},       {"imagesets", "imagesets/"}, {"fonts", "fonts/"},
                               {"layouts", "layouts/"},       {"looknfeels", "looknfeel/"},
                               {"lua_scripts", "lua_scripts/"}};
    for (const auto& group : groups)
        resources->setResourceGroupDirectory(group[0], data + "/" + group[1]);
}

std::string CEGuiD3D9BaseApplication::DataPath()
{
    const char* path = getenv("CEGUI_SAMPLE_DATAPATH");
    return path ? path : AppFolders::Resolve(AppFolders::kClassicRoot);
}

void CEGuiD3D9BaseApplication::SetDefaultResourceGroups()
{
    CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
    CEGUI::Font::setDefaultResourceGroup("fonts");
    CEGUI::Scheme::setDefaultResourceGroup("schemes");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeels");
    CEGUI::WindowManager::setDefaultResourceGroup("layouts");
    CEGUI::ScriptModule::setDefaultResourceGroup("lua_scripts");
}

void CEGuiD3D9BaseApplication::StoreClientSize()
{
    int width = 0, height = 0;
    m_state->window->GetClientSize(width, height);
    auto& global = CQX_GlobalVariable::getInstance();
    global.SetClientHeight(height);
    global.SetOverlayHeight(height);
    global.SetClientWidth(width);
}

void CEGuiD3D9BaseApplication::OnWindowResized()
{
    // A window manager may maximise the window only after it was shown: the
    // GUI, the overlay sizes and the projection follow the real client size.
    int width = 0, height = 0;
    m_state->window->GetClientSize(width, height);
    // Telling the GUI a size it already has would load every font again.
    const CEGUI::Sizef size(static_cast<float>(width), static_cast<float>(height));
    CEGUI::System& gui = CEGUI::System::getSingleton();
    if (gui.getRenderer()->getDisplaySize() != size)
        gui.notifyDisplaySizeChanged(size);
    StoreClientSize();
    m_state->window->GetOuterSize(width, height);
    SetProjection(width, height);
}

void CEGuiD3D9BaseApplication::SetProjection(int width, int height)
{
    const float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    m_state->device->SetTransform(TransformType::Projection,
                                  D3DXMatrixPerspectiveFovLH(static_cast<float>(M_PI / 2), aspect, 1.0f, 5000.0f));
    if (m_sample)
        m_sample->OnViewResized();
}

bool CEGuiD3D9BaseApplication::PumpMessages(bool& idle)
{
    idle = true;
    if (m_quitPosted)
        return false;
    WindowMessage message;
    if (!m_state->window->PeekMessage(message))
        return true;
    if (message.type == WindowMessage::Size)
        OnWindowResized();
    if (!m_windowProc->Handle(message))
        m_quitPosted = true;
    m_windowEvent = true;
    idle = false;
    return true;
}

bool CEGuiD3D9BaseApplication::IsFrameNeeded(uint32_t now)
{
    return m_windowEvent || CEGUI::System::getSingleton().getDefaultGUIContext().isDirty() ||
           m_sample->HasSceneChanged(now);
}

void CEGuiD3D9BaseApplication::RenderFrame(uint32_t now)
{
    m_sample->RenderScene(now);
    CEGUI::System::getSingleton().renderAllGUIContexts();
    m_sample->RenderOverlay(now);
    m_state->device->EndScene();
}

void CEGuiD3D9BaseApplication::WaitForGpu()
{
    RenderDevice& device = *m_state->device;
    if (!device.HasEventQuery()) {
        m_sample->OnIdle();
        Sleep(10);
        return;
    }
    // The software renderer takes most of a frame: the finished frame is
    // seen within a millisecond rather than up to five later.
    device.IssueQueryEnd();
    while (!device.IsQuerySignalled()) {
        m_sample->OnIdle();
        Sleep(1);
    }
}

bool CEGuiD3D9BaseApplication::Execute(CEGuiSample* sample)
{
    RenderDevice& device = *m_state->device;
    if (device.BeginScene()) {
        device.Clear(kOpaqueBlack);
        sample->ShowStartupPicture();
        device.EndScene();
        device.Present();
    }
    m_sample = sample;
    sample->InitialiseSample();
    device.CreateEventQuery();

    uint32_t last = GetTickCount();
    bool idle = true;
    while (PumpMessages(idle)) {
        if (idle) {
            uint32_t now = GetTickCount();
            if (now == last) {
                Sleep(5);
                now = GetTickCount();
            }
            const float elapsed = static_cast<float>(now - last) / 1000.0f;
            CEGUI::System::getSingleton().injectTimePulse(elapsed);
            CEGUI::System::getSingleton().getDefaultGUIContext().injectTimePulse(elapsed);
            last = now;

            if (device.TestCooperativeLevel() == RenderDevice::Cooperative::Lost) {
                Sleep(500);
                continue;
            }
            if (device.TestCooperativeLevel() == RenderDevice::Cooperative::NotReset) {
                m_state->renderer->grabTextures();
                if (!device.Reset())
                    continue;
                m_state->renderer->restoreTextures();
            }
            // The picture on screen stays while nothing in it changes; render
            // messages keep their pace, and a processed one asks for a frame.
            if (!IsFrameNeeded(now)) {
                sample->OnIdle();
                Sleep(FramePacing::kFrameMs);
                continue;
            }
            device.IssueQueryBegin();
            if (!device.BeginScene())
                continue;
            m_windowEvent = false;
            RenderFrame(now);
            WaitForGpu();
            device.Present();
            ++m_frames;
            sample->OnOneRenderLoopEnd();

            const int wait = FramePacing::WaitAfterFrame(now, GetTickCount(),
                                                         CQX_GlobalVariable::getInstance().GetBusyUntil(),
                                                         sample->IsSceneMoving());
            if (wait > 0) {
                sample->OnIdle();
                Sleep(static_cast<uint32_t>(wait));
            }
        }
        if (IsQuitting())
            m_quitPosted = true;
    }
    ReportFrameStatistics();
    return true;
}

void CEGuiD3D9BaseApplication::ReportFrameStatistics() const
{
    // For the frame-rate benchmark: QUOBRIX_FRAME_STATS=1 prints the count.
    const char* wanted = getenv("QUOBRIX_FRAME_STATS");
    if (!wanted || strcmp(wanted, "1") != 0)
        return;
    const uint32_t ms = GetTickCount() - m_startTick;
    fprintf(stderr, "quobrix: %u frames in %u ms\n", m_frames, ms);
}
