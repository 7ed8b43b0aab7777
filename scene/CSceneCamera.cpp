#include "scene/CSceneCamera.h"

#include "platform/RenderDevice.h"

void CSceneCamera::UpdateView(RenderDevice& device, double distance, double tilt)
{
    device.SetTransform(TransformType::View,
                        D3DXMatrixLookAtLH(D3DXVECTOR3(0, 0, static_cast<float>(distance)), D3DXVECTOR3(0, 0, 500),
                                           D3DXVECTOR3(0, 1, 0)));
    device.SetTransform(TransformType::World, D3DXMatrixTranslation(0, static_cast<float>(tilt), 0));
}

CPickRay CSceneCamera::BuildPickRay(const RenderDevice& device, float x, float y)
{
    const D3DXMATRIX& projection = device.GetTransform(TransformType::Projection);
    const Viewport viewport = device.GetViewport();
    const D3DXVECTOR3 direction((2 * x / viewport.width - 1) / projection[0][0],
                                (-2 * y / viewport.height + 1) / projection[1][1], 1);
    const D3DXMATRIX toWorld = D3DXMatrixInverse(device.GetTransform(TransformType::View));
    return CPickRay(D3DXVec3TransformCoord(D3DXVECTOR3(0, 0, 0), toWorld),
                    D3DXVec3Normalize(D3DXVec3TransformNormal(direction, toWorld)));
}
