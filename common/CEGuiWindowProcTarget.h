#pragma once
#include "common/WindowProcTarget.h"

class PlatformWindow;

// The window procedure's target in the running program: the default GUI
// context of CEGUI and the SDL window.
class CEGuiWindowProcTarget : public WindowProcTarget
{
public:
    explicit CEGuiWindowProcTarget(PlatformWindow& window);

    void InjectMousePosition(float x, float y) override;
    void InjectMouseLeaves() override;
    void InjectMouseButtonDown(int button) override;
    void InjectMouseButtonUp(int button) override;
    void InjectMouseWheelChange(float delta) override;
    void InjectKeyDown(unsigned scanCode) override;
    void InjectKeyUp(unsigned scanCode) override;
    void InjectChar(uint32_t codePoint) override;
    float CursorRelativeY() const override;
    float CursorX() const override;
    float CursorConstraintBottom() const override;
    void ShowSystemCursor(bool show) override;
    bool SearchBoxRect(float& x, float& y, float& height) const override;
    void PlaceImeWindow(int x, int y) override;

private:
    PlatformWindow& m_window;
};
