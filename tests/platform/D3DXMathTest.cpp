#include "platform/D3DXMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// m[r][c] holds Direct3D's _(r+1)(c+1).
float At(const D3DXMATRIX& m, int row, int column)
{
    return m[row][column];
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-4);
    EXPECT_NEAR(a.y, b.y, 1e-4);
    EXPECT_NEAR(a.z, b.z, 1e-4);
}

}

TEST(D3DXMath, PerspectiveMatchesTheDirect3DFormula)
{
    const float fov = static_cast<float>(M_PI / 2);
    const D3DXMATRIX p = D3DXMatrixPerspectiveFovLH(fov, 1.6f, 1.0f, 5000.0f);
    EXPECT_NEAR(At(p, 1, 1), 1.0f, 1e-5);
    EXPECT_NEAR(At(p, 0, 0), 1.0f / 1.6f, 1e-5);
    EXPECT_NEAR(At(p, 2, 2), 5000.0f / 4999.0f, 1e-5);
    EXPECT_NEAR(At(p, 2, 3), 1.0f, 1e-6);
    EXPECT_NEAR(At(p, 3, 2), -5000.0f / 4999.0f, 1e-4);
    // A point on the near plane straight ahead lands at depth 0.
    const D3DXVECTOR3 near = D3DXVec3TransformCoord(D3DXVECTOR3(0, 0, 1), p);
    EXPECT_NEAR(near.z, 0.0f, 1e-5);
}

TEST(D3DXMath, LookAtAndTranslationUseRowVectors)
{
    const D3DXMATRIX view = D3DXMatrixLookAtLH(D3DXVECTOR3(0, 0, -500), D3DXVECTOR3(0, 0, 500), D3DXVECTOR3(0, 1, 0));
    EXPECT_NEAR(At(view, 3, 2), 500.0f, 1e-4);
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(10, 20, 0), view), D3DXVECTOR3(10, 20, 500));

    const D3DXMATRIX t = D3DXMatrixTranslation(1, 2, 3);
    EXPECT_EQ(At(t, 3, 0), 1.0f);
    EXPECT_EQ(At(t, 3, 2), 3.0f);
}

TEST(D3DXMath, RotationYTurnsXTowardsMinusZ)
{
    const D3DXMATRIX r = D3DXMatrixRotationY(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(At(r, 0, 2), -1.0f, 1e-6);
    EXPECT_NEAR(At(r, 2, 0), 1.0f, 1e-6);
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(1, 0, 0), r), D3DXVECTOR3(0, 0, -1));
}

TEST(D3DXMath, MultiplyAppliesTheFirstMatrixFirst)
{
    const D3DXMATRIX scale = D3DXMatrixScaling(2, 2, 2);
    const D3DXMATRIX move = D3DXMatrixTranslation(10, 0, 0);
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(1, 0, 0), D3DXMatrixMultiply(scale, move)), D3DXVECTOR3(12, 0, 0));
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(1, 0, 0), D3DXMatrixMultiply(move, scale)), D3DXVECTOR3(22, 0, 0));
    const D3DXMATRIX both = D3DXMatrixMultiply(scale, move);
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(12, 0, 0), D3DXMatrixInverse(both)), D3DXVECTOR3(1, 0, 0));
    ExpectNear(D3DXVec3TransformNormal(D3DXVECTOR3(1, 0, 0), move), D3DXVECTOR3(1, 0, 0));
}

TEST(D3DXMath, OrthoMapsTheClientAreaOneToOne)
{
    const D3DXMATRIX o = D3DXMatrixOrthoLH(1280, 800, -5000, 5000);
    ExpectNear(D3DXVec3TransformCoord(D3DXVECTOR3(640, -400, 0), o), D3DXVECTOR3(1, -1, 0.5f));
}
