#include "platform/VertexBuffer.h"

VertexBuffer::VertexBuffer(size_t vertexCount, uint32_t format)
    : m_format(format), m_stride(StrideOf(format)), m_vertexCount(vertexCount), m_bytes(vertexCount * m_stride)
{
}

size_t VertexBuffer::StrideOf(uint32_t format)
{
    size_t stride = 0;
    if (format & FVF_XYZ)
        stride += 3 * sizeof(float);
    if (format & FVF_NORMAL)
        stride += 3 * sizeof(float);
    if (format & FVF_DIFFUSE)
        stride += sizeof(uint32_t);
    if (format & FVF_TEX1)
        stride += 2 * sizeof(float);
    return stride;
}
