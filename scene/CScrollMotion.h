#pragma once
#include "platform/D3DXMath.h"

#include <cstdint>

// The wall's scroll along its axis and its swing about the vertical axis,
// both with inertia: drags, button presses and auto-play add velocity,
// friction brings it back to rest. Advanced once per frame by the wall.
// The input handlers change the fields directly.
class CScrollMotion
{
public:
    static constexpr double kMaxVelocity = 30;
    static constexpr double kMaxSwingAngle = 25;
    // Position cap: far beyond any wall of 20000 products.
    static constexpr double kMaxScroll = 100000000;

    explicit CScrollMotion(uint32_t now) : lastUpdateTick(now) {}

    // Steps the motion to now: auto-play impulses, swing, scroll, limits.
    void Update(uint32_t now);
    // The rotation about y by the swing angle, then the translation by
    // (-scroll position, 0, 0), to be applied in wall space.
    D3DXMATRIX Transform() const;

    void BeginDrag(double x, uint32_t now);
    // A mouse move to x while dragging: turns the movement into velocity.
    void Drag(double x, uint32_t now);
    void EndDrag();

    // Back to rest at position 0 (a new browse).
    void Rest(uint32_t now);
    bool IsMoving() const { return !(scrollVelocity > -0.03 && scrollVelocity < 0.03); }
    bool IsGliding() const;
    // Nothing left that shows: no scroll, however slow, and no visible swing.
    bool IsAtRest() const;

    bool dragging = false;
    uint32_t lastDragTick = 0;
    double dragStartX = 0;
    double lastDragX = 0;
    uint32_t lastUpdateTick;
    double scrollPosition = 0;
    double swingAngle = 0;       // degrees
    double scrollVelocity = 0;   // scroll units per ms
    double angularVelocity = 0;  // degrees per ms
    double scrollLimit = 0;
    bool autoPlay = false;
    uint32_t autoPlayEndTick = 0;
    int speedLevel = 2;
    uint32_t nextImpulseTick = 0;

private:
    void UpdateAutoPlay(uint32_t now);
    void UpdateSwing(int dt);
    void UpdateScroll(int dt);
    void ApplyLimits();
};
