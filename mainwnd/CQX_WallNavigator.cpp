#include "mainwnd/CQX_WallNavigator.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "scene/CProductWall.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPageVelocity = 13;
constexpr double kPageSwing = 0.07;
constexpr double kFirstScreenSwing = 5.0;
constexpr int kTenTimes = 10;
// A vertical drag moves the camera four units per pixel.
constexpr float kTiltPerPixel = 4;

void Push(CScrollMotion& motion, double velocity, double swing)
{
    motion.scrollVelocity = std::clamp(motion.scrollVelocity + velocity, -CScrollMotion::kMaxVelocity,
                                       CScrollMotion::kMaxVelocity);
    motion.angularVelocity = std::clamp(motion.angularVelocity + swing, -CScrollMotion::kMaxVelocity,
                                        CScrollMotion::kMaxVelocity);
}

void CountAction(int action)
{
    CQX_GlobalVariable::getInstance().IncAction(action);
}

}

CScrollMotion& CQX_WallNavigator::StartMove()
{
    m_owner.MarkBusy();
    m_owner.StopAutoPlay();
    CScrollMotion& motion = CProductWall::getInstance().Motion();
    motion.autoPlay = false;
    return motion;
}

bool CQX_WallNavigator::NextImpulse(CScrollMotion& motion)
{
    if (motion.scrollLimit <= motion.scrollPosition)
        return false;
    Push(motion, kPageVelocity, -kPageSwing);
    return true;
}

bool CQX_WallNavigator::PreviousImpulse(CScrollMotion& motion)
{
    if (motion.scrollPosition <= 0)
        return false;
    Push(motion, -kPageVelocity, kPageSwing);
    return true;
}

void CQX_WallNavigator::Next()
{
    CScrollMotion& motion = StartMove();
    m_owner.SetScrollLimitForMode();
    NextImpulse(motion);
    m_owner.CollapseLeftPanel();
    CountAction(CQX_GlobalVariable::ActNext);
}

void CQX_WallNavigator::Previous()
{
    CScrollMotion& motion = StartMove();
    PreviousImpulse(motion);
    if (CProductWall::getInstance().GetFirstVisibleIndex() < m_owner.GetCappedProductCount())
        m_owner.CollapseLeftPanel();
}

void CQX_WallNavigator::First()
{
    CScrollMotion& motion = StartMove();
    m_owner.CollapseLeftPanel();
    if (motion.scrollPosition > 0.01)
        motion.swingAngle = kFirstScreenSwing;
    motion.angularVelocity = 0;
    motion.scrollPosition = 0;
}

void CQX_WallNavigator::TenTimesPrevious()
{
    CScrollMotion& motion = StartMove();
    m_owner.CollapseLeftPanel();
    for (int i = 0; i < kTenTimes; ++i)
        if (!PreviousImpulse(motion))
            break;
}

void CQX_WallNavigator::TenTimesNext()
{
    CScrollMotion& motion = StartMove();
    m_owner.SetScrollLimitForMode();
    m_owner.CollapseLeftPanel();
    for (int i = 0; i < kTenTimes; ++i)
        if (!NextImpulse(motion))
            break;
    CountAction(CQX_GlobalVariable::ActTenTimesNext);
}

void CQX_WallNavigator::BeginDrag(float x, float y, uint32_t now)
{
    m_dragging = true;
    m_owner.MarkBusy();
    m_referenceX = x;
    m_referenceY = y;
    CProductWall::getInstance().Motion().BeginDrag(x, now);
}

void CQX_WallNavigator::EndDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    CProductWall::getInstance().Motion().EndDrag();
}

void CQX_WallNavigator::DragTo(float x, float y, uint32_t now)
{
    CProductWall& wall = CProductWall::getInstance();
    if (!wall.IsMoving())
        CountAction(CQX_GlobalVariable::ActWallDrag);
    m_owner.SetScrollLimitForMode();
    const float dx = x - m_referenceX;
    const float dy = y - m_referenceY;
    if (std::fabs(dy) > std::fabs(dx)) {
        m_owner.ChangeTilt(dy * kTiltPerPixel);
        m_referenceX = x;
        m_referenceY = y;
    } else {
        wall.Motion().Drag(x, now);
    }
    m_owner.CollapseLeftPanel();
}
