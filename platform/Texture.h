#pragma once
#include "platform/PixelImage.h"

#include <memory>

// A texture on the device's GL context (or a context sharing its objects).
// Created only by RenderDevice; deleting it frees the GL texture, so it must
// be destroyed on a thread where a sharing context is current.
class Texture
{
public:
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    unsigned int Id() const { return m_id; }
    bool HasMipmaps() const { return m_mipmaps; }

private:
    friend class RenderDevice;
    Texture(unsigned int id, int width, int height, bool mipmaps);

    unsigned int m_id;
    int m_width;
    int m_height;
    bool m_mipmaps;
};

using TexturePtr = std::unique_ptr<Texture>;
