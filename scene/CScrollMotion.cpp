#include "scene/CScrollMotion.h"

#include "platform/Ticks.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxFrameGap = 1000;
constexpr double kFriction = 0.008;
constexpr double kCoastingSpeed = 9;
constexpr double kCoastingFactor = 2.5;
constexpr double kSwingSpring = 0.00001;
constexpr double kAtRest = 0.001;
constexpr double kInvisibleSwing = 0.05;          // degrees
constexpr double kInvisibleSwingSpeed = 0.0001;  // degrees per ms
constexpr double kImpulseVelocity = 12;
constexpr double kImpulseAngularVelocity = 0.02;
constexpr int kImpulseInterval = 4000;

bool Negligible(double v)
{
    return v > -kAtRest && v < kAtRest;
}

double ClampVelocity(double v)
{
    return std::clamp(v, -CScrollMotion::kMaxVelocity, CScrollMotion::kMaxVelocity);
}

}

void CScrollMotion::Update(uint32_t now)
{
    int dt = static_cast<int32_t>(now - lastUpdateTick);
    // A long pause (or a tick from the past) moves nothing.
    if (dt > kMaxFrameGap || dt < 0)
        dt = 0;
    lastUpdateTick = now;
    UpdateAutoPlay(now);
    UpdateSwing(dt);
    UpdateScroll(dt);
    ApplyLimits();
}

void CScrollMotion::UpdateAutoPlay(uint32_t now)
{
    if (!autoPlay)
        return;
    if (TickBefore(autoPlayEndTick, now)) {
        autoPlay = false;
    } else if (TickBefore(nextImpulseTick, now)) {
        scrollVelocity = kImpulseVelocity;
        angularVelocity = kImpulseAngularVelocity;
        swingAngle = 0;
        nextImpulseTick = now + static_cast<uint32_t>(speedLevel * kImpulseInterval);
    }
}

bool CScrollMotion::IsGliding() const
{
    return !Negligible(scrollVelocity);
}

bool CScrollMotion::IsAtRest() const
{
    // The swing's spring takes seconds over its last hundredth of a degree,
    // a change no pixel shows.
    return !IsGliding() && std::fabs(swingAngle) < kInvisibleSwing &&
           std::fabs(angularVelocity) < kInvisibleSwingSpeed;
}

void CScrollMotion::UpdateSwing(int dt)
{
    if (Negligible(angularVelocity) && Negligible(swingAngle))
        return;
    double a = -kFriction * angularVelocity;
    // A slow wall springs back to face the camera.
    if (scrollVelocity > -1 && scrollVelocity < 1)
        a -= kSwingSpring * swingAngle;
    const double old = angularVelocity;
    angularVelocity = old + a * dt;
    swingAngle = std::clamp(swingAngle + dt * (old + angularVelocity) / 2, -kMaxSwingAngle, kMaxSwingAngle);
}

void CScrollMotion::UpdateScroll(int dt)
{
    if (Negligible(scrollVelocity))
        return;
    double g = -kFriction * scrollVelocity;
    // Fast motion coasts longer.
    if (std::fabs(scrollVelocity) >= kCoastingSpeed)
        g /= kCoastingFactor;
    const double old = scrollVelocity;
    scrollVelocity = old + g * dt;
    if ((old > 0) != (scrollVelocity > 0))
        scrollVelocity = 0;
    scrollPosition += dt * (old + scrollVelocity) / 2;
}

void CScrollMotion::ApplyLimits()
{
    if (scrollPosition < 0) {
        scrollPosition = 0;
        scrollVelocity = 0;
    }
    if (scrollLimit < scrollPosition) {
        autoPlay = false;
        if (scrollLimit > 0)
            scrollPosition = scrollLimit;
        scrollVelocity = 0;
    }
}

D3DXMATRIX CScrollMotion::Transform() const
{
    const float radians = static_cast<float>(swingAngle * 3.1415927 / 180);
    return D3DXMatrixMultiply(D3DXMatrixTranslation(static_cast<float>(-scrollPosition), 0, 0),
                              D3DXMatrixRotationY(radians));
}

void CScrollMotion::BeginDrag(double x, uint32_t now)
{
    dragStartX = x;
    lastDragX = x;
    lastDragTick = now;
    dragging = true;
}

void CScrollMotion::Drag(double x, uint32_t now)
{
    autoPlay = false;
    if (!dragging || !TickBefore(lastDragTick, now))
        return;
    if (x > lastDragX && scrollPosition <= 0)
        return;
    if (x < lastDragX && scrollLimit <= scrollPosition)
        return;
    const double elapsed = static_cast<int32_t>(now - lastDragTick);
    double e = (lastDragX - x) / elapsed * 100;
    if (!Negligible(e))
        e = std::copysign(std::pow(std::fabs(e), 1.25), e);
    scrollVelocity = ClampVelocity(scrollVelocity + 0.003 * e);
    angularVelocity = ClampVelocity(angularVelocity + 0.004 * (x - lastDragX) / elapsed);
    lastDragTick = now;
    lastDragX = x;
}

void CScrollMotion::EndDrag()
{
    dragging = false;
    lastDragTick = 0;
}

void CScrollMotion::Rest(uint32_t now)
{
    dragging = false;
    lastDragTick = 0;
    lastDragX = 0;
    scrollPosition = 0;
    swingAngle = 0;
    scrollVelocity = 0;
    angularVelocity = 0;
    lastUpdateTick = now;
}
