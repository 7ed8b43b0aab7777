#include "tests/support/SceneWindow.h"

#include "platform/RenderDevice.h"
#include "scene/CPickRay.h"
#include "scene/CSceneCamera.h"

#include <gtest/gtest.h>

namespace {

const D3DXVECTOR3 kA(0, 0, 0), kB(10, 0, 0), kC(0, 10, 0);

CPickRay Along(float x, float y, float z, const D3DXVECTOR3& direction = D3DXVECTOR3(0, 0, 1))
{
    return CPickRay(D3DXVECTOR3(x, y, z), direction);
}

}

TEST(PickRay, HitsTrianglesFromEitherSideAndBehindTheEye)
{
    EXPECT_TRUE(Along(2, 2, -5).HitsTriangle(kA, kB, kC));
    EXPECT_TRUE(Along(2, 2, -5).HitsTriangle(kA, kC, kB));
    EXPECT_TRUE(Along(2, 2, 5, D3DXVECTOR3(0, 0, -1)).HitsTriangle(kA, kB, kC));
    // The triangle lies behind the ray's origin: still a hit.
    EXPECT_TRUE(Along(2, 2, 5).HitsTriangle(kA, kB, kC));
    EXPECT_TRUE(Along(0, 0, -5).HitsTriangle(kA, kB, kC));
    EXPECT_TRUE(Along(5, 5, -5).HitsTriangle(kA, kB, kC));
}

TEST(PickRay, MissesOutsideAndAlongThePlane)
{
    EXPECT_FALSE(Along(6, 6, -5).HitsTriangle(kA, kB, kC));
    EXPECT_FALSE(Along(-1, 2, -5).HitsTriangle(kA, kB, kC));
    EXPECT_FALSE(Along(2, -1, -5).HitsTriangle(kA, kB, kC));
    // A ray in the triangle's plane has a zero determinant.
    EXPECT_FALSE(Along(-5, 2, 0, D3DXVECTOR3(1, 0, 0)).HitsTriangle(kA, kB, kC));
}

TEST(PickRay, RectanglesAreTestedWhereTheWorldPutsThem)
{
    const D3DXMATRIX world = D3DXMatrixMultiply(D3DXMatrixScaling(2, 2, 1), D3DXMatrixTranslation(100, 0, 0));
    EXPECT_TRUE(Along(100, 10, -5).HitsRectangle(-10, 0, 10, 20, world));
    EXPECT_TRUE(Along(119, 39, -5).HitsRectangle(-10, 0, 10, 20, world));
    EXPECT_FALSE(Along(121, 10, -5).HitsRectangle(-10, 0, 10, 20, world));
    EXPECT_FALSE(Along(100, 41, -5).HitsRectangle(-10, 0, 10, 20, world));
    EXPECT_FALSE(Along(0, 10, -5).HitsRectangle(-10, 0, 10, 20, world));
}

TEST(SceneCamera, PickRayGoesFromTheEyeThroughThePixel)
{
    SceneWindow& window = SceneWindow::Instance();
    RenderDevice& device = window.Device();
    CSceneCamera::UpdateView(device, -600, 120);
    EXPECT_EQ(device.GetTransform(TransformType::World), D3DXMatrixTranslation(0, 120, 0));

    const CPickRay centre = CSceneCamera::BuildPickRay(device, window.Width() / 2.0f, window.Height() / 2.0f);
    EXPECT_NEAR(centre.Origin().z, -600, 1e-3);
    EXPECT_NEAR(centre.Direction().x, 0, 1e-5);
    EXPECT_NEAR(centre.Direction().z, 1, 1e-5);

    // A point of the wall plane seen at a pixel lies on that pixel's ray.
    const D3DXVECTOR3 point(300, -200, 0);
    const glm::vec2 pixel = window.ToScreen(point, D3DXMatrixIdentity());
    const CPickRay ray = CSceneCamera::BuildPickRay(device, pixel.x, pixel.y);
    EXPECT_NEAR(glm::length(ray.Direction()), 1, 1e-5);
    const float t = (point.z - ray.Origin().z) / ray.Direction().z;
    const D3DXVECTOR3 hit = ray.Origin() + t * ray.Direction();
    EXPECT_NEAR(hit.x, point.x, 0.5);
    EXPECT_NEAR(hit.y, point.y, 0.5);
    CSceneCamera::UpdateView(device, CSceneCamera::kRestingDistance, 0);
}
