#pragma once
#include "platform/WindowMessage.h"

#include <cstdint>
#include <set>

class WindowProcTarget;

// Turns window messages into GUI input as the classic window procedure
// does: mapped keys as a down-up pair (Shift and Control down while held,
// so that text fields can select), characters assembled from
// code-page bytes, the cursor kept out of the bottom 1 % of the display and
// parked below it when the mouse leaves the window.
class CEGuiWindowProcedure
{
public:
    explicit CEGuiWindowProcedure(WindowProcTarget& target);

    // Returns false for a message that asks the program to quit.
    bool Handle(const WindowMessage& message);

    // The GUI scan code of a virtual key; 0 for keys the GUI is not given.
    static unsigned VirtualKeyToScanCode(int virtualKey);

    bool IsMouseInWindow() const { return m_mouseInWindow; }

private:
    static bool IsModifier(int virtualKey);
    void OnMouseMove(int x, int y);
    void OnMouseLeave();
    void OnKeyDown(int virtualKey);
    void OnKeyUp(int virtualKey);
    void OnChar(uint8_t byte);
    void OnText(const std::string& utf8);
    void OnImeComposition();

    WindowProcTarget& m_target;
    bool m_mouseInWindow = false;
    bool m_leadBytePending = false;
    uint8_t m_leadByte = 0;
    std::set<int> m_heldModifiers;
};
