#include "tests/support/SceneWindow.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "scene/CSceneCamera.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>

SceneWindow& SceneWindow::Instance()
{
    // Lives to the end of the test process, like the program's window.
    static SceneWindow* window = new SceneWindow;
    return *window;
}

SceneWindow::SceneWindow()
    : m_window(new PlatformWindow)
{
    std::string error;
    if (!m_window->Create("scene test", 1280, 800, error))
        throw std::runtime_error(error);
    m_device = new RenderDevice(*m_window);
    m_window->GetClientSize(m_width, m_height);
    auto& global = CQX_GlobalVariable::getInstance();
    global.SetClientWidth(m_width);
    global.SetClientHeight(m_height);
    global.SetOverlayHeight(m_height);
    m_device->SetTransform(TransformType::Projection,
                           D3DXMatrixPerspectiveFovLH(static_cast<float>(M_PI / 2),
                                                      static_cast<float>(m_width) / m_height, 1.0f, 5000.0f));
}

void SceneWindow::BeginFrame(uint32_t background)
{
    m_device->BeginScene();
    m_device->Clear(background);
    CSceneCamera::UpdateView(*m_device, CSceneCamera::kRestingDistance, 0);
}

PixelImage SceneWindow::ReadPixels() const
{
    m_device->EndScene();
    return m_device->ReadBackBuffer();
}

glm::vec2 SceneWindow::ToScreen(const D3DXVECTOR3& point, const D3DXMATRIX& world) const
{
    const D3DXMATRIX all = D3DXMatrixMultiply(
        D3DXMatrixMultiply(world, m_device->GetTransform(TransformType::View)),
        m_device->GetTransform(TransformType::Projection));
    const D3DXVECTOR3 ndc = D3DXVec3TransformCoord(point, all);
    return glm::vec2((ndc.x + 1) / 2 * m_width, (1 - ndc.y) / 2 * m_height);
}

void SceneWindow::SaveScreenshot(const PixelImage& image, const std::string& name)
{
    const char* build = getenv("QX_BUILD_DIR");
    const std::string dir = std::string(build ? build : ".") + "/screenshots";
    mkdir(dir.c_str(), 0755);
    image.SavePng(dir + "/" + name + ".png");
}
