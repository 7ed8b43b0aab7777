#include "platform/D3DXMath.h"

#include <glm/gtc/matrix_transform.hpp>

// glm builds column-vector matrices. A column-vector matrix stored
// column-major has the same memory as its transpose stored row-major, which
// is the Direct3D row-vector matrix: so glm's left-handed builders give
// Direct3D matrices directly in our storage, and Direct3D's a * b is glm's b * a.

D3DXMATRIX D3DXMatrixIdentity()
{
    return D3DXMATRIX(1.0f);
}

D3DXMATRIX D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    return glm::perspectiveLH_ZO(fovY, aspect, zNear, zFar);
}

D3DXMATRIX D3DXMatrixOrthoLH(float width, float height, float zNear, float zFar)
{
    return glm::orthoLH_ZO(-width / 2, width / 2, -height / 2, height / 2, zNear, zFar);
}

D3DXMATRIX D3DXMatrixLookAtLH(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up)
{
    return glm::lookAtLH(eye, at, up);
}

D3DXMATRIX D3DXMatrixTranslation(float x, float y, float z)
{
    return glm::translate(D3DXMATRIX(1.0f), glm::vec3(x, y, z));
}

D3DXMATRIX D3DXMatrixScaling(float x, float y, float z)
{
    return glm::scale(D3DXMATRIX(1.0f), glm::vec3(x, y, z));
}

D3DXMATRIX D3DXMatrixRotationY(float angle)
{
    // Direct3D rotates clockwise looking down the axis towards the origin in
    // its left-handed space; glm's rotation is the right-handed one, whose
    // stored form is that matrix's transpose: the same numbers D3DX produces.
    return glm::rotate(D3DXMATRIX(1.0f), angle, glm::vec3(0, 1, 0));
}

D3DXMATRIX D3DXMatrixRotationX(float angle)
{
    return glm::rotate(D3DXMATRIX(1.0f), angle, glm::vec3(1, 0, 0));
}

D3DXMATRIX D3DXMatrixMultiply(const D3DXMATRIX& a, const D3DXMATRIX& b)
{
    return b * a;
}

D3DXMATRIX D3DXMatrixInverse(const D3DXMATRIX& m)
{
    return glm::inverse(m);
}

D3DXVECTOR3 D3DXVec3TransformCoord(const D3DXVECTOR3& v, const D3DXMATRIX& m)
{
    glm::vec4 r = m * glm::vec4(v, 1.0f);
    return glm::vec3(r) / r.w;
}

D3DXVECTOR3 D3DXVec3TransformNormal(const D3DXVECTOR3& v, const D3DXMATRIX& m)
{
    return glm::vec3(m * glm::vec4(v, 0.0f));
}

D3DXVECTOR3 D3DXVec3Normalize(const D3DXVECTOR3& v)
{
    return glm::normalize(v);
}
