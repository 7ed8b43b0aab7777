#pragma once
#include "platform/D3DXMath.h"

// A ray in world space from the eye through a point of the screen.
class CPickRay
{
public:
    CPickRay(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) : m_origin(origin), m_direction(direction) {}

    const D3DXVECTOR3& Origin() const { return m_origin; }
    const D3DXVECTOR3& Direction() const { return m_direction; }

    // The two-sided ray-triangle test (Moller-Trumbore). A determinant below
    // 0.0001 in magnitude (a ray along the triangle's plane) misses; a hit
    // behind the origin counts.
    bool HitsTriangle(const D3DXVECTOR3& v0, const D3DXVECTOR3& v1, const D3DXVECTOR3& v2) const;
    // The rectangle left..right x bottom..top at z 0 in the space world maps
    // to world space, tested as its two triangles.
    bool HitsRectangle(float left, float bottom, float right, float top, const D3DXMATRIX& world) const;

private:
    D3DXVECTOR3 m_origin;
    D3DXVECTOR3 m_direction;
};
