#pragma once
#include <CEGUI/RendererModules/OpenGL/GLRenderer.h>

class CEGuiResourceProvider;

// The GUI system on the scene window's GL context, with the program's own
// resource provider, for tests that draw with the GUI. It lives to the end of
// the test process, like the window: unloading CEGUI's image codec module
// would leave FreeImage calling into freed code.
class SceneGui
{
public:
    static SceneGui& Instance();

    CEGUI::OpenGLRenderer& Renderer() { return *m_renderer; }
    CEGuiResourceProvider& Resources() { return *m_resources; }

private:
    SceneGui();

    CEGUI::OpenGLRenderer* m_renderer;
    CEGuiResourceProvider* m_resources;
};
