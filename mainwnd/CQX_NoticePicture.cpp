#include "mainwnd/CQX_NoticePicture.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/PixelImage.h"
#include "platform/RenderDevice.h"

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000;
// How far the notice files' JPEG black strays near the drawing's edges.
constexpr int kJpegBlackNoise = 16;
constexpr int kBannerRows[2] = {373, 442};

struct QuadVertex
{
    float x, y, z;
    float u, v;
};

}

bool CQX_NoticePicture::Load(RenderDevice& device, const std::string& path, int banners, int width, int height)
{
    Release();
    m_device = &device;
    PixelImage picture = PixelImage::LoadFile(path, width, height);
    picture.ApplyColorKey(kOpaqueBlack, kJpegBlackNoise);
    m_texture = device.CreateTexture(std::move(picture), false);
    if (!m_texture)
        return false;
    m_width = kWidth;
    m_height = kHeight;
    m_banners = banners;
    m_quads[Whole] = MakeQuad(0, kHeight);
    for (int b = 0; b < banners && b < 2; ++b)
        m_quads[Banner1 + b] = MakeQuad(kBannerRows[b], kBannerHeight);
    return true;
}

void CQX_NoticePicture::Release()
{
    m_texture.reset();
    for (auto& quad : m_quads)
        quad.reset();
    m_width = m_height = m_banners = 0;
}

std::unique_ptr<VertexBuffer> CQX_NoticePicture::MakeQuad(int firstRow, int rows) const
{
    // Texture rows are counted against the picture's own height (512 for the
    // notice files). The quad's edges lie on pixel edges and GL samples at
    // pixel centres, so texel centres meet pixel centres and the picture maps
    // 1:1 without blurring (Direct3D 9, which samples at pixel corners, needs
    // half a texel added here; GL must not have it).
    const float texHeight = static_cast<float>(m_texture->Height());
    const float v0 = firstRow / texHeight;
    const float v1 = (firstRow + rows) / texHeight;
    const float u0 = 0;
    const float u1 = 1;
    const float halfW = kWidth / 2.0f;
    const float halfH = rows == kHeight ? 187.0f : 35.0f;
    const QuadVertex vertices[6] = {
        {-halfW, halfH, 0, u0, v0}, {halfW, halfH, 0, u1, v0},   {-halfW, -halfH, 0, u0, v1},
        {halfW, halfH, 0, u1, v0},  {halfW, -halfH, 0, u1, v1}, {-halfW, -halfH, 0, u0, v1},
    };
    auto buffer = std::make_unique<VertexBuffer>(6, FVF_XYZ | FVF_TEX1);
    std::copy(vertices, vertices + 6, static_cast<QuadVertex*>(buffer->Lock()));
    return buffer;
}

void CQX_NoticePicture::Draw(Quad quad, int offsetY) const
{
    if (!m_texture || !m_quads[quad])
        return;
    RenderDevice& device = *m_device;
    const auto& global = CQX_GlobalVariable::getInstance();
    // The colour-keyed black around the drawing is see-through: the wall
    // shows there, not a black rectangle.
    device.SetAlphaBlend(true);
    device.SetBlendFactors(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    const D3DXMATRIX savedProjection = device.GetTransform(TransformType::Projection);
    const D3DXMATRIX savedWorld = device.GetTransform(TransformType::World);
    const SamplerFilters savedSampler = device.GetSamplerFilters();
    device.SetTransform(TransformType::Projection,
                        D3DXMatrixOrthoLH(static_cast<float>(global.GetClientWidth()),
                                          static_cast<float>(global.GetOverlayHeight()), -5000.0f, 5000.0f));
    device.SetTransform(TransformType::World,
                        offsetY ? D3DXMatrixTranslation(0, static_cast<float>(offsetY), 0) : D3DXMatrixIdentity());
    device.SetSamplerFilters({TextureFilter::Point, TextureFilter::Point, TextureFilter::None});
    device.SetTexture(m_texture.get());
    device.SetStreamSource(m_quads[quad].get());
    device.DrawTriangleList(0, 2);
    device.SetTexture(nullptr);
    device.SetAlphaBlend(false);
    device.SetTransform(TransformType::World, savedWorld);
    device.SetTransform(TransformType::Projection, savedProjection);
    device.SetSamplerFilters(savedSampler);
}
