#include "platform/RenderDevice.h"

#include "platform/PlatformWindow.h"

#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>

namespace {

GLenum GlBlend(BlendFactor f)
{
    switch (f) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::SrcColor: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::DestColor: return GL_DST_COLOR;
    case BlendFactor::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLint GlMinFilter(const SamplerFilters& s, bool mipmaps)
{
    const bool linear = s.min == TextureFilter::Linear;
    if (!mipmaps || s.mip == TextureFilter::None)
        return linear ? GL_LINEAR : GL_NEAREST;
    if (s.mip == TextureFilter::Linear)
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
}

void SetGlColor(GLenum pname, const ColorValue& c)
{
    const GLfloat v[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, pname, v);
}

void SetGlLightColor(GLenum pname, const ColorValue& c)
{
    const GLfloat v[4] = {c.r, c.g, c.b, c.a};
    glLightfv(GL_LIGHT0, pname, v);
}

ColorValue FromArgb(uint32_t argb)
{
    return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
            ((argb >> 24) & 0xFF) / 255.0f};
}

}

RenderDevice::RenderDevice(PlatformWindow& window)
    : m_window(window)
{
}

RenderDevice::~RenderDevice()
{
    if (m_fence)
        glDeleteSync(static_cast<GLsync>(m_fence));
}

bool RenderDevice::BeginScene()
{
    int w = 0, h = 0;
    m_window.GetClientSize(w, h);
    glViewport(0, 0, w, h);
    return true;
}

void RenderDevice::EndScene()
{
    glFlush();
}

void RenderDevice::Clear(uint32_t argb)
{
    const ColorValue c = FromArgb(argb);
    glClearColor(c.r, c.g, c.b, c.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void RenderDevice::Present()
{
    m_window.SwapBuffers();
}

bool RenderDevice::CreateEventQuery()
{
    m_queryAvailable = GLEW_ARB_sync || GLEW_VERSION_3_2;
    return m_queryAvailable;
}

void RenderDevice::IssueQueryEnd()
{
    if (!m_queryAvailable)
        return;
    if (m_fence)
        glDeleteSync(static_cast<GLsync>(m_fence));
    m_fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

bool RenderDevice::IsQuerySignalled()
{
    if (!m_fence)
        return true;
    GLenum r = glClientWaitSync(static_cast<GLsync>(m_fence), GL_SYNC_FLUSH_COMMANDS_BIT, 0);
    return r != GL_TIMEOUT_EXPIRED;
}

void RenderDevice::SetTransform(TransformType type, const D3DXMATRIX& m)
{
    switch (type) {
    case TransformType::World: m_world = m; break;
    case TransformType::View: m_view = m; break;
    case TransformType::Projection: m_projection = m; break;
    }
}

const D3DXMATRIX& RenderDevice::GetTransform(TransformType type) const
{
    switch (type) {
    case TransformType::World: return m_world;
    case TransformType::View: return m_view;
    case TransformType::Projection: break;
    }
    return m_projection;
}

void RenderDevice::SetBlendFactors(BlendFactor src, BlendFactor dst)
{
    m_srcBlend = src;
    m_dstBlend = dst;
}

Viewport RenderDevice::GetViewport() const
{
    Viewport v;
    m_window.GetClientSize(v.width, v.height);
    return v;
}

void RenderDevice::ApplyLighting() const
{
    if (!m_lighting) {
        glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    const ColorValue ambient = FromArgb(m_ambient);
    const GLfloat globalAmbient[4] = {ambient.r, ambient.g, ambient.b, ambient.a};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, globalAmbient);
    // Direct3D lights a face by its normal as given, whichever side faces the
    // camera; GL's two-sided model would flip the normals of our clockwise
    // (Direct3D front, GL back) faces and leave them unlit.
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    if (m_lightEnabled) {
        glEnable(GL_LIGHT0);
        // A directional GL light is given by the direction towards the light,
        // in world space while the modelview holds only the view.
        const GLfloat towardsLight[4] = {-m_light.direction.x, -m_light.direction.y, -m_light.direction.z, 0.0f};
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(glm::value_ptr(m_view));
        glLightfv(GL_LIGHT0, GL_POSITION, towardsLight);
        SetGlLightColor(GL_DIFFUSE, m_light.diffuse);
        SetGlLightColor(GL_SPECULAR, m_light.specular);
        SetGlLightColor(GL_AMBIENT, m_light.ambient);
    } else {
        glDisable(GL_LIGHT0);
    }
    SetGlColor(GL_DIFFUSE, m_material.diffuse);
    SetGlColor(GL_AMBIENT, m_material.ambient);
    SetGlColor(GL_SPECULAR, m_material.specular);
    SetGlColor(GL_EMISSION, m_material.emissive);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::min(m_material.power, 128.0f));
}

void RenderDevice::ApplySampler() const
{
    if (!m_texture) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_texture->Id());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, m_sampler.mag == TextureFilter::Point ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GlMinFilter(m_sampler, m_texture->HasMipmaps()));
}

void RenderDevice::ApplyState() const
{
    glUseProgram(0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_ALPHA_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(glm::value_ptr(m_projection));
    ApplyLighting();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(glm::value_ptr(D3DXMatrixMultiply(m_world, m_view)));
    if (m_normalizeNormals)
        glEnable(GL_NORMALIZE);
    else
        glDisable(GL_NORMALIZE);
    if (m_alphaBlend) {
        glEnable(GL_BLEND);
        glBlendFunc(GlBlend(m_srcBlend), GlBlend(m_dstBlend));
    } else {
        glDisable(GL_BLEND);
    }
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    ApplySampler();
}

void RenderDevice::BindVertexArrays() const
{
    const uint32_t format = m_stream->Format();
    const GLsizei stride = static_cast<GLsizei>(m_stream->Stride());
    const uint8_t* p = m_stream->Data();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, p);
    p += 3 * sizeof(float);
    if (format & FVF_NORMAL) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, p);
        p += 3 * sizeof(float);
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0, 0, -1);
    }
    if (format & FVF_DIFFUSE) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, p);
        p += sizeof(uint32_t);
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);
    }
    if (format & FVF_TEX1) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, p);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

void RenderDevice::DrawTriangleList(size_t startVertex, size_t triangleCount)
{
    if (!m_stream || startVertex + triangleCount * 3 > m_stream->VertexCount())
        return;
    ApplyState();
    BindVertexArrays();
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(startVertex), static_cast<GLsizei>(triangleCount * 3));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

TexturePtr RenderDevice::CreateTextureFromFile(const std::string& path, int width, int height, uint32_t colorKey,
                                               bool mipmaps)
{
    PixelImage image = PixelImage::LoadFile(path, width, height);
    if (image.IsEmpty())
        return nullptr;
    image.ApplyColorKey(colorKey);
    return CreateTexture(std::move(image), mipmaps);
}

TexturePtr RenderDevice::CreateTextureFromMemory(const void* data, size_t size, uint32_t colorKey, bool mipmaps)
{
    PixelImage image = PixelImage::LoadMemory(data, size);
    if (image.IsEmpty())
        return nullptr;
    image.ApplyColorKey(colorKey);
    return CreateTexture(std::move(image), mipmaps);
}

TexturePtr RenderDevice::CreateTexture(PixelImage image, bool mipmaps)
{
    if (image.IsEmpty())
        return nullptr;
    std::vector<PixelImage> levels;
    levels.push_back(std::move(image));
    while (mipmaps && (levels.back().Width() > 1 || levels.back().Height() > 1)) {
        const PixelImage& above = levels.back();
        levels.push_back(above.Scaled(std::max(1, above.Width() / 2), std::max(1, above.Height() / 2)));
    }
    return TexturePtr(new Texture(std::move(levels)));
}

PixelImage RenderDevice::ReadBackBuffer() const
{
    int w = 0, h = 0;
    m_window.GetClientSize(w, h);
    PixelImage image(w, h);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    std::vector<uint32_t> rows(static_cast<size_t>(w) * h);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    // GL reads the bottom row first.
    for (int y = 0; y < h; ++y)
        std::copy(rows.begin() + static_cast<long>(h - 1 - y) * w, rows.begin() + static_cast<long>(h - y) * w,
                  image.Pixels() + static_cast<size_t>(y) * w);
    return image;
}
