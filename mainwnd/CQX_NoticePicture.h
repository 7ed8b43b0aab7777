#pragma once
#include "platform/Texture.h"
#include "platform/VertexBuffer.h"

#include <memory>
#include <string>

class RenderDevice;

// A notice picture: the whole notice (the top 374 rows) and up to two 70-row
// banners below it, drawn 1:1 in pixels at the centre of the client area.
class CQX_NoticePicture
{
public:
    enum Quad { Whole = 0, Banner1 = 1, Banner2 = 2 };

    static constexpr int kWidth = 512;
    static constexpr int kHeight = 374;
    static constexpr int kBannerHeight = 70;

    // Loads the picture (width x height pixels when both are positive, else the
    // file's size) with an opaque-black colour key, and builds the quads.
    // A file that does not load leaves the picture empty: it then draws nothing.
    bool Load(RenderDevice& device, const std::string& path, int banners, int width = 0, int height = 0);
    void Release();

    bool IsLoaded() const { return m_texture != nullptr; }
    int Banners() const { return m_banners; }

    // Draws one quad, moved up by offsetY pixels.
    void Draw(Quad quad, int offsetY = 0) const;

private:
    std::unique_ptr<VertexBuffer> MakeQuad(int firstRow, int rows) const;

    RenderDevice* m_device = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_banners = 0;
    TexturePtr m_texture;
    std::unique_ptr<VertexBuffer> m_quads[3];
};
