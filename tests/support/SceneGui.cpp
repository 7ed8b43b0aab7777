#include "tests/support/SceneGui.h"

#include "common/CEGuiResourceProvider.h"
#include "tests/support/SceneWindow.h"

#include <CEGUI/System.h>

SceneGui& SceneGui::Instance()
{
    static SceneGui* gui = new SceneGui;
    return *gui;
}

SceneGui::SceneGui()
{
    SceneWindow& window = SceneWindow::Instance();
    m_renderer = &CEGUI::OpenGLRenderer::create(
        CEGUI::Sizef(static_cast<float>(window.Width()), static_cast<float>(window.Height())));
    m_renderer->enableExtraStateSettings(true);
    m_resources = new CEGuiResourceProvider;
    CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
    CEGUI::System::setDefaultImageCodecName("FreeImageImageCodec");
    CEGUI::System::create(*m_renderer, m_resources);
}
