#pragma once
#include "platform/PixelImage.h"

#include <memory>
#include <vector>

// A texture of the device. It is made from pixels on any thread and uploaded
// to GL the first time it is bound, on the thread where the device's context
// is current: so the render worker can prepare card textures without a GL
// context of its own, and the GL work stays on the render thread. Its mip
// chain is computed where it is made, so the render thread only copies.
// Until the upload it holds its pixels; afterwards only the GL texture.
//
// A texture that was drawn must be destroyed on the render thread (deleting
// the GL texture needs its context); one never drawn may die anywhere.
class Texture
{
public:
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool HasMipmaps() const { return m_mipmaps; }

    // The GL texture name, uploading the pixels first if needed. Render thread only.
    unsigned int Id() const;
    bool IsUploaded() const { return m_id != 0; }

private:
    friend class RenderDevice;
    // levels: the picture, then (for a mip chain) each half-size level down to 1 x 1.
    explicit Texture(std::vector<PixelImage> levels);

    void Upload() const;

    mutable std::vector<PixelImage> m_pending;
    mutable unsigned int m_id = 0;
    int m_width;
    int m_height;
    bool m_mipmaps;
};

using TexturePtr = std::unique_ptr<Texture>;
