#pragma once
#include <cstdint>

class CEGuiRendererSelector;
class CEGuiD3D9BaseApplication;

// The sample the application frame drives: it owns the renderer selector and
// the application, and receives the frame's per-frame calls.
class CEGuiSample
{
public:
    CEGuiSample();
    virtual ~CEGuiSample();

    // Initialise, then Cleanup when the frame loop ran. GUI and standard
    // exceptions are shown in a "CEGUI - Exception" box. Returns 0, or 1
    // when the program could not start.
    int Run();

    virtual bool InitialiseSample() = 0;
    virtual void CleanupSample() {}
    virtual void RenderScene(uint32_t now) {}
    virtual void RenderOverlay(uint32_t now) {}
    virtual void OnViewResized() {}
    virtual void ShowStartupPicture() {}
    virtual void OnIdle() {}
    virtual void OnOneRenderLoopEnd() {}
    // Whether the scene is in motion: the frame loop then runs unthrottled.
    virtual bool IsSceneMoving() const { return false; }
    // Whether a frame drawn at now would differ from the last one drawn (the
    // GUI's own changes and the window's events aside): a still scene is not
    // drawn again.
    virtual bool HasSceneChanged(uint32_t now) { return true; }

    virtual bool Initialise();
    virtual void Cleanup();

protected:
    // Shuts down and deletes the application, then deletes the selector.
    void DeleteApplication();

    CEGuiRendererSelector* m_rendererSelector = nullptr;
    CEGuiD3D9BaseApplication* m_sampleApp = nullptr;
};
