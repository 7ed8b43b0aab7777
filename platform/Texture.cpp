#include "platform/Texture.h"

#include <GL/glew.h>

Texture::Texture(unsigned int id, int width, int height, bool mipmaps)
    : m_id(id), m_width(width), m_height(height), m_mipmaps(mipmaps)
{
}

Texture::~Texture()
{
    GLuint id = m_id;
    glDeleteTextures(1, &id);
}
