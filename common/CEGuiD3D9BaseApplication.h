#pragma once
#include "common/CEGuiBaseApplication.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace CEGUI {
class OpenGLRenderer;
class DefaultResourceProvider;
class Logger;
}
class PlatformWindow;
class RenderDevice;
class CEGuiWindowProcTarget;
class CEGuiWindowProcedure;

// The window or its GL could not be made; the user was told why already.
class InitialisationFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The window, the 3D device and the GUI renderer of the running program.
struct CD3D9AppState
{
    std::unique_ptr<PlatformWindow> window;
    std::unique_ptr<RenderDevice> device;
    CEGUI::OpenGLRenderer* renderer = nullptr;
    // CEGUI does not delete a resource provider it was given.
    std::unique_ptr<CEGUI::DefaultResourceProvider> resources;
    // Nor a logger that existed before it.
    std::unique_ptr<CEGUI::Logger> logger;
};

// Owns the window, the device and the GUI system, and runs the frame loop.
class CEGuiD3D9BaseApplication : public CEGuiBaseApplication
{
public:
    // Creates window, device and GUI; throws std::runtime_error with the
    // classic message when any of them fails (after telling the user which).
    CEGuiD3D9BaseApplication();
    ~CEGuiD3D9BaseApplication() override;

    // The application of the process, or null when none exists.
    static CEGuiD3D9BaseApplication* Instance();

    bool Execute(CEGuiSample* sample) override;
    void Shutdown() override {}
    void SetProjection(int width, int height) override;
    CD3D9AppState* GetD3DState() override { return m_state.get(); }

    static void SetDefaultResourceGroups();
    // The GUI data folder: $CEGUI_SAMPLE_DATAPATH or "../datafiles".
    static std::string DataPath();

private:
    void CreateWindowAndDevice();
    void CreateGuiSystem();
    void StoreClientSize();
    void OnWindowResized();
    bool PumpMessages(bool& idle);
    bool IsFrameNeeded(uint32_t now);
    void RenderFrame(uint32_t now);
    void WaitForGpu();
    void ReportFrameStatistics() const;

    std::unique_ptr<CD3D9AppState> m_state;
    std::unique_ptr<CEGuiWindowProcTarget> m_procTarget;
    std::unique_ptr<CEGuiWindowProcedure> m_windowProc;
    uint32_t m_startTick;
    CEGuiSample* m_sample = nullptr;
    bool m_quitPosted = false;
    // A window event arrived since the last frame drawn.
    bool m_windowEvent = true;
    uint32_t m_frames = 0;
};
