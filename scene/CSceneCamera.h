#pragma once
#include "scene/CPickRay.h"

class RenderDevice;

// The camera looking along +z at the wall: its distance (resting at -750)
// and a vertical offset of the scene (the tilt, resting at 0).
class CSceneCamera
{
public:
    static constexpr double kRestingDistance = -750;
    static constexpr double kNearestDistance = -330;
    static constexpr double kFarthestDistance = -1000;
    static constexpr double kMaxTilt = 350;

    // View from (0, 0, distance) towards (0, 0, 500); the world transform
    // becomes the tilt's translation, which every frame's drawing builds on.
    static void UpdateView(RenderDevice& device, double distance, double tilt);

    // The ray through the client pixel (x, y), from the device's projection,
    // viewport and view.
    static CPickRay BuildPickRay(const RenderDevice& device, float x, float y);
};
