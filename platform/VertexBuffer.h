#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Flexible vertex format bits, in the order the components are laid out.
enum VertexFormat : uint32_t
{
    FVF_XYZ = 0x002,     // float x, y, z
    FVF_NORMAL = 0x010,  // float nx, ny, nz
    FVF_DIFFUSE = 0x040, // uint32 colour 0xAARRGGBB
    FVF_TEX1 = 0x100,    // float u, v
};

// A vertex buffer in client memory, filled once through Lock and drawn by the
// device as triangle lists.
class VertexBuffer
{
public:
    VertexBuffer(size_t vertexCount, uint32_t format);

    static size_t StrideOf(uint32_t format);

    uint32_t Format() const { return m_format; }
    size_t Stride() const { return m_stride; }
    size_t VertexCount() const { return m_vertexCount; }
    // The whole buffer for writing: VertexCount() vertices of Stride() bytes.
    void* Lock() { return m_bytes.data(); }
    const uint8_t* Data() const { return m_bytes.data(); }

private:
    uint32_t m_format;
    size_t m_stride;
    size_t m_vertexCount;
    std::vector<uint8_t> m_bytes;
};
