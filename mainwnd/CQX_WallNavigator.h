#pragma once
#include <cstdint>

class CQX_MainWnd;
class CScrollMotion;

// Moving along the wall: the paging buttons and keys push the wall with
// inertia, a drag throws it sideways or tilts the camera.
class CQX_WallNavigator
{
public:
    explicit CQX_WallNavigator(CQX_MainWnd& owner) : m_owner(owner) {}

    void Next();
    void Previous();
    void First();
    void TenTimesNext();
    void TenTimesPrevious();

    bool IsDragging() const { return m_dragging; }
    void BeginDrag(float x, float y, uint32_t now);
    void EndDrag();
    // A move while dragging: mostly vertical moves tilt the camera, the others
    // drag the wall.
    void DragTo(float x, float y, uint32_t now);

private:
    // Every move ends auto-play and keeps the frame loop busy.
    CScrollMotion& StartMove();
    static bool NextImpulse(CScrollMotion& motion);
    static bool PreviousImpulse(CScrollMotion& motion);

    CQX_MainWnd& m_owner;
    bool m_dragging = false;
    // Where the drag started, or where the last tilt left the mouse.
    float m_referenceX = 0;
    float m_referenceY = 0;
};
