#pragma once
#include <cstdint>

// Everything the window procedure acts on: the GUI's input injection and
// cursor, the system cursor and the input method window. The running program
// uses CEGuiWindowProcTarget; tests record the calls.
class WindowProcTarget
{
public:
    virtual ~WindowProcTarget() = default;

    virtual void InjectMousePosition(float x, float y) = 0;
    virtual void InjectMouseLeaves() = 0;
    virtual void InjectMouseButtonDown(int button) = 0;
    virtual void InjectMouseButtonUp(int button) = 0;
    virtual void InjectMouseWheelChange(float delta) = 0;
    virtual void InjectKeyDown(unsigned scanCode) = 0;
    virtual void InjectKeyUp(unsigned scanCode) = 0;
    virtual void InjectChar(uint32_t codePoint) = 0;

    // The GUI cursor's vertical position relative to the display (0..1).
    virtual float CursorRelativeY() const = 0;
    virtual float CursorX() const = 0;
    // Bottom edge, in pixels, of the area the GUI cursor is constrained to.
    virtual float CursorConstraintBottom() const = 0;

    virtual void ShowSystemCursor(bool show) = 0;
    // Screen rectangle of the search box, false when it does not exist.
    virtual bool SearchBoxRect(float& x, float& y, float& height) const = 0;
    virtual void PlaceImeWindow(int x, int y) = 0;
};
