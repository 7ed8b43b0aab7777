#pragma once
// Matrix and vector helpers with Direct3D conventions: left-handed, row
// vectors (v' = v * M), translation in the fourth row. A D3DXMATRIX is stored
// so that m[r][c] is Direct3D's element _(r+1)(c+1); that memory layout is
// exactly what OpenGL's glLoadMatrixf expects, so matrices load unchanged.
#include <glm/glm.hpp>

using D3DXMATRIX = glm::mat4;
using D3DXVECTOR3 = glm::vec3;
using D3DXVECTOR4 = glm::vec4;

D3DXMATRIX D3DXMatrixIdentity();
D3DXMATRIX D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
D3DXMATRIX D3DXMatrixOrthoLH(float width, float height, float zNear, float zFar);
D3DXMATRIX D3DXMatrixLookAtLH(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up);
D3DXMATRIX D3DXMatrixTranslation(float x, float y, float z);
D3DXMATRIX D3DXMatrixScaling(float x, float y, float z);
D3DXMATRIX D3DXMatrixRotationY(float angle);
D3DXMATRIX D3DXMatrixRotationX(float angle);
// a * b in Direct3D's order: a is applied first, then b.
D3DXMATRIX D3DXMatrixMultiply(const D3DXMATRIX& a, const D3DXMATRIX& b);
D3DXMATRIX D3DXMatrixInverse(const D3DXMATRIX& m);

// Transforms a point (w = 1) and divides by the resulting w.
D3DXVECTOR3 D3DXVec3TransformCoord(const D3DXVECTOR3& v, const D3DXMATRIX& m);
// Transforms a direction (w = 0).
D3DXVECTOR3 D3DXVec3TransformNormal(const D3DXVECTOR3& v, const D3DXMATRIX& m);
D3DXVECTOR3 D3DXVec3Normalize(const D3DXVECTOR3& v);
