#pragma once
#include "platform/D3DXMath.h"
#include "platform/PixelImage.h"
#include "platform/Texture.h"
#include "platform/VertexBuffer.h"

#include <memory>
#include <string>

class PlatformWindow;

enum class TransformType { World, View, Projection };
enum class BlendFactor { Zero, One, SrcAlpha, InvSrcAlpha, SrcColor, InvSrcColor, DestColor, InvDestColor };
enum class TextureFilter { None, Point, Linear };

struct ColorValue
{
    float r = 0, g = 0, b = 0, a = 0;
};

struct DirectionalLight
{
    ColorValue diffuse;
    ColorValue specular;
    ColorValue ambient;
    D3DXVECTOR3 direction{0, 0, 1};
};

struct Material
{
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
};

struct SamplerFilters
{
    TextureFilter mag = TextureFilter::Linear;
    TextureFilter min = TextureFilter::Linear;
    TextureFilter mip = TextureFilter::None;
};

struct Viewport
{
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0, maxZ = 1;
};

// The 3D device: the Direct3D 9 operations the program draws with, on
// OpenGL 2.1 fixed function. Matrices follow Direct3D conventions and load
// into GL unchanged. State is recorded here and applied right before each
// draw, because the GUI renderer changes GL state between our draws.
//
// A GL device is never lost: TestCooperativeLevel always reports it usable,
// and the reset path of the frame loop is kept only for that contract.
class RenderDevice
{
public:
    explicit RenderDevice(PlatformWindow& window);
    ~RenderDevice();
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    enum class Cooperative { Ok, Lost, NotReset };
    Cooperative TestCooperativeLevel() const { return Cooperative::Ok; }
    bool Reset() { return true; }

    bool BeginScene();
    void EndScene();
    void Clear(uint32_t argb);
    void Present();

    // The event query: a fence placed after the frame's commands.
    bool CreateEventQuery();
    bool HasEventQuery() const { return m_queryAvailable; }
    void IssueQueryBegin() {}
    void IssueQueryEnd();
    // True once the GPU has passed the last IssueQueryEnd (flushes first).
    bool IsQuerySignalled();

    void SetTransform(TransformType type, const D3DXMATRIX& m);
    const D3DXMATRIX& GetTransform(TransformType type) const;

    void SetLighting(bool enabled) { m_lighting = enabled; }
    void SetNormalizeNormals(bool enabled) { m_normalizeNormals = enabled; }
    void SetAmbient(uint32_t argb) { m_ambient = argb; }
    void SetAlphaBlend(bool enabled) { m_alphaBlend = enabled; }
    bool GetAlphaBlend() const { return m_alphaBlend; }
    void SetBlendFactors(BlendFactor src, BlendFactor dst);
    void SetSamplerFilters(const SamplerFilters& filters) { m_sampler = filters; }
    const SamplerFilters& GetSamplerFilters() const { return m_sampler; }
    void SetLight(const DirectionalLight& light) { m_light = light; }
    void EnableLight(bool enabled) { m_lightEnabled = enabled; }
    void SetMaterial(const Material& material) { m_material = material; }
    void SetTexture(const Texture* texture) { m_texture = texture; }
    void SetStreamSource(const VertexBuffer* buffer) { m_stream = buffer; }
    void DrawTriangleList(size_t startVertex, size_t triangleCount);

    Viewport GetViewport() const;

    // Textures from a picture file / an in-memory file image, scaled to the
    // requested size when width and height are positive; pixels equal to
    // colorKey (0xFF000000 = opaque black) become transparent. Null on failure.
    // These three touch no GL state, so any thread may call them (see Texture).
    TexturePtr CreateTextureFromFile(const std::string& path, int width, int height, uint32_t colorKey,
                                     bool mipmaps = false);
    TexturePtr CreateTextureFromMemory(const void* data, size_t size, uint32_t colorKey, bool mipmaps = false);
    TexturePtr CreateTexture(PixelImage image, bool mipmaps = false);

    // Reads the back buffer (for screenshots and drawing tests).
    PixelImage ReadBackBuffer() const;

    PlatformWindow& Window() { return m_window; }

private:
    void ApplyState() const;
    void ApplyLighting() const;
    void ApplySampler() const;
    void BindVertexArrays() const;

    PlatformWindow& m_window;
    D3DXMATRIX m_world{1.0f};
    D3DXMATRIX m_view{1.0f};
    D3DXMATRIX m_projection{1.0f};
    bool m_lighting = false;
    bool m_normalizeNormals = false;
    uint32_t m_ambient = 0;
    bool m_alphaBlend = false;
    BlendFactor m_srcBlend = BlendFactor::One;
    BlendFactor m_dstBlend = BlendFactor::Zero;
    SamplerFilters m_sampler;
    DirectionalLight m_light;
    bool m_lightEnabled = false;
    Material m_material;
    const Texture* m_texture = nullptr;
    const VertexBuffer* m_stream = nullptr;
    bool m_queryAvailable = false;
    void* m_fence = nullptr;
};
