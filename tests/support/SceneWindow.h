#pragma once
#include "platform/D3DXMath.h"
#include "platform/PixelImage.h"

#include <string>

class PlatformWindow;
class RenderDevice;

// The test process's one real window with its GL context (hidden, the size
// of the display: 1280 x 800 under the test X server) and the device on it,
// with the program's projection. Drawing tests render into its back buffer
// and read the pixels back.
class SceneWindow
{
public:
    static SceneWindow& Instance();

    RenderDevice& Device() { return *m_device; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Clears (to black unless told) and puts the camera at rest: view from
    // z = -750, world = identity, the program's perspective projection.
    void BeginFrame(uint32_t background = 0xFF000000);
    PixelImage ReadPixels() const;

    // The client pixel a point of some space lands on, given that space's world.
    glm::vec2 ToScreen(const D3DXVECTOR3& point, const D3DXMATRIX& world) const;

    // Writes a picture for people to look at: $QX_BUILD_DIR/screenshots/<name>.png.
    static void SaveScreenshot(const PixelImage& image, const std::string& name);

private:
    SceneWindow();

    PlatformWindow* m_window;
    RenderDevice* m_device;
    int m_width = 0;
    int m_height = 0;
};

// Colour channels of a pixel 0xAARRGGBB.
inline int RedOf(uint32_t p) { return (p >> 16) & 0xFF; }
inline int GreenOf(uint32_t p) { return (p >> 8) & 0xFF; }
inline int BlueOf(uint32_t p) { return p & 0xFF; }
