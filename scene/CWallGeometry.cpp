#include "scene/CWallGeometry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct TexVertex
{
    float x, y, z;
    float u, v;
};

struct ColorVertex
{
    float x, y, z;
    uint32_t color;
};

struct ColorTexVertex
{
    float x, y, z;
    uint32_t color;
    float u, v;
};

struct NormalVertex
{
    float x, y, z;
    float nx, ny, nz;
};

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kReflectionGrey = 0xFF646469;  // red 100, green 100, blue 105
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kPlaceholderAmbient = 0xFF343445;  // red 52, green 52, blue 69

const char kBackShadowFile[] = "../datafiles/imagesets/back_shadow.tga";
const char kFrontShadowFile[] = "../datafiles/imagesets/front_shadow.jpg";

// Two triangles, clockwise as the device's front faces are.
template <class Vertex>
std::unique_ptr<VertexBuffer> MakeQuad(uint32_t format, const Vertex& topLeft, const Vertex& topRight,
                                       const Vertex& bottomLeft, const Vertex& bottomRight)
{
    auto buffer = std::make_unique<VertexBuffer>(6, format);
    const Vertex vertices[6] = {topLeft, topRight, bottomLeft, topRight, bottomRight, bottomLeft};
    std::copy(vertices, vertices + 6, static_cast<Vertex*>(buffer->Lock()));
    return buffer;
}

// A quad whose texture stands upright on it.
std::unique_ptr<VertexBuffer> MakeTexturedQuad(float left, float bottom, float right, float top)
{
    return MakeQuad<TexVertex>(FVF_XYZ | FVF_TEX1, {left, top, 0, 0, 0}, {right, top, 0, 1, 0},
                               {left, bottom, 0, 0, 1}, {right, bottom, 0, 1, 1});
}

// A lit quad whose normal turns from bottomNormal at its lower edge to
// topNormal at its upper edge.
std::unique_ptr<VertexBuffer> MakeLitQuad(float left, float bottom, float right, float top, float z,
                                          const D3DXVECTOR3& bottomNormal, const D3DXVECTOR3& topNormal)
{
    const D3DXVECTOR3& b = bottomNormal;
    const D3DXVECTOR3& t = topNormal;
    return MakeQuad<NormalVertex>(FVF_XYZ | FVF_NORMAL, {left, top, z, t.x, t.y, t.z}, {right, top, z, t.x, t.y, t.z},
                                  {left, bottom, z, b.x, b.y, b.z}, {right, bottom, z, b.x, b.y, b.z});
}

struct Rect
{
    float left, bottom, right, top;
};

// The outer rectangle less the holes, as horizontal bands cut at the holes'
// edges, each band less the holes that span it.
std::vector<Rect> Subtract(const Rect& outer, const std::vector<Rect>& holes)
{
    std::vector<float> edges = {outer.bottom, outer.top};
    for (const Rect& hole : holes)
        for (float y : {hole.bottom, hole.top})
            edges.push_back(std::clamp(y, outer.bottom, outer.top));
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Rect> pieces;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const float bottom = edges[i], top = edges[i + 1];
        std::vector<std::pair<float, float>> covered;
        for (const Rect& hole : holes)
            if (hole.bottom <= bottom && hole.top >= top)
                covered.emplace_back(std::max(hole.left, outer.left), std::min(hole.right, outer.right));
        std::sort(covered.begin(), covered.end());
        float x = outer.left;
        for (const auto& span : covered) {
            if (span.first > x)
                pieces.push_back({x, bottom, span.first, top});
            x = std::max(x, span.second);
        }
        if (x < outer.right)
            pieces.push_back({x, bottom, outer.right, top});
    }
    return pieces;
}

ColorValue Grey(float level, float blue)
{
    return {level, level, blue, 1};
}

DirectionalLight LightAlongZ(const ColorValue& diffuse)
{
    DirectionalLight light;
    light.diffuse = diffuse;
    light.direction = D3DXVECTOR3(0, 0, 1);
    return light;
}

void DrawLit(RenderDevice& device, const VertexBuffer& quad, const DirectionalLight& light, const Material& material,
             uint32_t ambient)
{
    device.SetLighting(true);
    device.SetNormalizeNormals(true);
    device.SetTexture(nullptr);
    device.SetAmbient(ambient);
    device.SetLight(light);
    device.EnableLight(true);
    device.SetMaterial(material);
    device.SetStreamSource(&quad);
    device.DrawTriangleList(0, 2);
    device.EnableLight(false);
    device.SetLighting(false);
    device.SetNormalizeNormals(false);
}

}

void CWallGeometry::Create(RenderDevice& device)
{
    Rebuild();
    m_backShadow = device.CreateTextureFromFile(kBackShadowFile, 0, 0, 0);
    m_frontShadow = device.CreateTextureFromFile(kFrontShadowFile, 0, 0, 0);
}

void CWallGeometry::Rebuild()
{
    m_textQuad = MakeTexturedQuad(-100, 16, 100, 111);
    m_pictureBackground = MakeQuad<ColorVertex>(FVF_XYZ | FVF_DIFFUSE, {-110, 339, 0, kWhite}, {110, 339, 0, kWhite},
                                                {-110, 119, 0, kWhite}, {110, 119, 0, kWhite});
    m_shadowQuad = MakeTexturedQuad(-119, 0, 119, 352);
    // The picture mirrored: its bottom edge at the top, fading to black.
    m_reflectionQuad = MakeQuad<ColorTexVertex>(FVF_XYZ | FVF_DIFFUSE | FVF_TEX1, {-110, -9, 0, kReflectionGrey, 0, 1},
                                                {110, -9, 0, kReflectionGrey, 1, 1}, {-110, -229, 0, kBlack, 0, 0},
                                                {110, -229, 0, kBlack, 1, 0});
    m_placeholderPanel = MakeLitQuad(-110, 16, 110, 339, 0, D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0, -1));
    m_backdrop = MakeLitQuad(-2000, -1500, 2000, 1500, 999, D3DXVECTOR3(0, 0.7f, -0.3f), D3DXVECTOR3(0, 1, 0));
}

std::unique_ptr<VertexBuffer> CWallGeometry::MakeShadowRing(const CPictureSize& size, bool withPicture, bool withText)
{
    constexpr float kHalfWidth = 119;
    constexpr float kHeight = kCardHeight;
    // Squeezed to the card's height about y = 8, where it starts.
    const bool full = size.height >= kFullPicture;
    const float s = full ? 1.0f : static_cast<float>(size.height + kCardChrome) / kCardHeight;
    const float base = 8 * (1 - s);
    // Holes stop a unit short of what covers them, so no pixel at an edge is
    // left to neither.
    std::vector<Rect> holes;
    if (withText)
        holes.push_back({-99, 17, 99, 110});
    const float pictureHalf = full ? 110 : size.width / 2.0f;
    const float pictureTop = 119 + static_cast<float>(std::min(size.height, kFullPicture));
    if (full || withPicture)
        holes.push_back({-pictureHalf + 1, 120, pictureHalf - 1, pictureTop - 1});
    const std::vector<Rect> pieces = Subtract({-kHalfWidth, base, kHalfWidth, base + kHeight * s}, holes);
    auto vertex = [&](float x, float y) {
        const float shadowY = (y - base) / s;
        return TexVertex{x, y, 0, (x + kHalfWidth) / (2 * kHalfWidth), (kHeight - shadowY) / kHeight};
    };
    auto buffer = std::make_unique<VertexBuffer>(static_cast<int>(6 * pieces.size()), FVF_XYZ | FVF_TEX1);
    auto* out = static_cast<TexVertex*>(buffer->Lock());
    for (const Rect& r : pieces) {
        const TexVertex quad[6] = {vertex(r.left, r.top),     vertex(r.right, r.top),    vertex(r.left, r.bottom),
                                   vertex(r.right, r.top),    vertex(r.right, r.bottom), vertex(r.left, r.bottom)};
        out = std::copy(quad, quad + 6, out);
    }
    return buffer;
}

std::unique_ptr<VertexBuffer> CWallGeometry::MakePictureQuad(int width, int height)
{
    const float half = width / 2.0f;
    return MakeTexturedQuad(-half, 119, half, static_cast<float>(119 + height));
}

void CWallGeometry::DrawBackdrop(RenderDevice& device) const
{
    if (!m_backdrop)
        return;
    const D3DXMATRIX projection = device.GetTransform(TransformType::Projection);
    const D3DXMATRIX world = device.GetTransform(TransformType::World);
    device.SetTransform(TransformType::Projection, D3DXMatrixOrthoLH(4000, 3000, -5000, 5000));
    device.SetTransform(TransformType::World, D3DXMatrixIdentity());
    Material white;
    white.diffuse = white.ambient = Grey(1, 1);
    DrawLit(device, *m_backdrop, LightAlongZ(Grey(0.204f, 0.271f)), white, 0);
    device.SetTransform(TransformType::Projection, projection);
    device.SetTransform(TransformType::World, world);
}

void CWallGeometry::DrawPlaceholder(RenderDevice& device) const
{
    if (!m_placeholderPanel)
        return;
    Material grey;
    grey.diffuse = grey.ambient = Grey(0.78f, 0.78f);
    DrawLit(device, *m_placeholderPanel, LightAlongZ(Grey(0.647f, 0.714f)), grey, kPlaceholderAmbient);
}
