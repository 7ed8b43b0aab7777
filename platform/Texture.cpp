#include "platform/Texture.h"

#include <GL/glew.h>

Texture::Texture(PixelImage pixels, bool mipmaps)
    : m_pending(std::move(pixels)), m_width(m_pending.Width()), m_height(m_pending.Height()), m_mipmaps(mipmaps)
{
}

Texture::~Texture()
{
    if (!m_id)
        return;
    GLuint id = m_id;
    glDeleteTextures(1, &id);
}

unsigned int Texture::Id() const
{
    if (!m_id)
        Upload();
    return m_id;
}

void Texture::Upload() const
{
    GLuint id = 0;
    glGenTextures(1, &id);
    if (!id)
        return;
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, m_mipmaps ? GL_TRUE : GL_FALSE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, m_width, m_height, 0, GL_BGRA, GL_UNSIGNED_BYTE, m_pending.Pixels());
    glBindTexture(GL_TEXTURE_2D, 0);
    m_id = id;
    m_pending = PixelImage();
}
