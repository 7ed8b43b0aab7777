#include "platform/Texture.h"

#include <GL/glew.h>

Texture::Texture(std::vector<PixelImage> levels)
    : m_pending(std::move(levels)), m_width(m_pending.front().Width()), m_height(m_pending.front().Height()),
      m_mipmaps(m_pending.size() > 1)
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
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(m_pending.size()) - 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    for (size_t level = 0; level < m_pending.size(); ++level) {
        const PixelImage& pixels = m_pending[level];
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8, pixels.Width(), pixels.Height(), 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, pixels.Pixels());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    m_id = id;
    m_pending.clear();
    m_pending.shrink_to_fit();
}
