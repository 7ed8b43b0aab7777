#include "scene/CPickRay.h"

#include <cmath>

namespace {

constexpr float kParallel = 0.0001f;

}

bool CPickRay::HitsTriangle(const D3DXVECTOR3& v0, const D3DXVECTOR3& v1, const D3DXVECTOR3& v2) const
{
    const D3DXVECTOR3 edge1 = v1 - v0;
    const D3DXVECTOR3 edge2 = v2 - v0;
    const D3DXVECTOR3 p = glm::cross(m_direction, edge2);
    const float det = glm::dot(edge1, p);
    if (std::fabs(det) < kParallel)
        return false;
    const D3DXVECTOR3 t = m_origin - v0;
    const float u = glm::dot(t, p) / det;
    if (u < 0 || u > 1)
        return false;
    const D3DXVECTOR3 q = glm::cross(t, edge1);
    const float v = glm::dot(m_direction, q) / det;
    return v >= 0 && u + v <= 1;
}

bool CPickRay::HitsRectangle(float left, float bottom, float right, float top, const D3DXMATRIX& world) const
{
    const D3DXVECTOR3 topLeft = D3DXVec3TransformCoord(D3DXVECTOR3(left, top, 0), world);
    const D3DXVECTOR3 topRight = D3DXVec3TransformCoord(D3DXVECTOR3(right, top, 0), world);
    const D3DXVECTOR3 bottomLeft = D3DXVec3TransformCoord(D3DXVECTOR3(left, bottom, 0), world);
    const D3DXVECTOR3 bottomRight = D3DXVec3TransformCoord(D3DXVECTOR3(right, bottom, 0), world);
    return HitsTriangle(topLeft, topRight, bottomLeft) || HitsTriangle(topRight, bottomRight, bottomLeft);
}
