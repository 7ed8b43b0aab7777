#include "common/CEGuiWindowProcedure.h"

#include "common/WindowProcTarget.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/CodePage.h"
#include "platform/VirtualKeys.h"

namespace {

// Decodes the first UTF-8 sequence of text; '?' when there is none.
uint32_t FirstCodePoint(const std::string& text)
{
    if (text.empty())
        return '?';
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[0] < 0x80)
        return p[0];
    int extra = p[0] >= 0xF0 ? 3 : p[0] >= 0xE0 ? 2 : 1;
    if (text.size() < static_cast<size_t>(extra + 1))
        return '?';
    uint32_t cp = p[0] & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i)
        cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
}

}

CEGuiWindowProcedure::CEGuiWindowProcedure(WindowProcTarget& target)
    : m_target(target)
{
}

unsigned CEGuiWindowProcedure::VirtualKeyToScanCode(int virtualKey)
{
    switch (virtualKey) {
    case VK_BACK: return 14;
    case VK_SPACE: return 57;
    case VK_PRIOR: return 201;
    case VK_NEXT: return 209;
    case VK_LEFT: return 203;
    case VK_UP: return 200;
    case VK_RIGHT: return 205;
    case VK_DOWN: return 208;
    case VK_INSERT: return 210;
    case VK_DELETE: return 211;
    case VK_LSHIFT: return 42;
    case VK_RSHIFT: return 54;
    // Beyond the classic table: what a text field needs to select from the keyboard.
    case VK_HOME: return 199;
    case VK_END: return 207;
    case VK_LCONTROL: return 29;
    case VK_RCONTROL: return 157;
    default: return 0;
    }
}

bool CEGuiWindowProcedure::IsModifier(int virtualKey)
{
    return virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT || virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL;
}

bool CEGuiWindowProcedure::Handle(const WindowMessage& message)
{
    switch (message.type) {
    case WindowMessage::Destroy:
        return false;
    case WindowMessage::MouseMove:
        OnMouseMove(message.x, message.y);
        break;
    case WindowMessage::MouseLeave:
        OnMouseLeave();
        break;
    case WindowMessage::ButtonDown:
        m_target.InjectMouseButtonDown(message.button);
        break;
    case WindowMessage::ButtonUp:
        m_target.InjectMouseButtonUp(message.button);
        break;
    case WindowMessage::MouseWheel:
        m_target.InjectMouseWheelChange(static_cast<float>(message.wheelDelta / 120));
        break;
    case WindowMessage::KeyDown:
        OnKeyDown(message.virtualKey);
        break;
    case WindowMessage::KeyUp:
        OnKeyUp(message.virtualKey);
        break;
    case WindowMessage::Char:
        OnChar(message.charByte);
        break;
    case WindowMessage::Text:
        OnText(message.text);
        break;
    case WindowMessage::ImeComposition:
        OnImeComposition();
        break;
    case WindowMessage::None:
    case WindowMessage::Size:
        break;
    }
    return true;
}

void CEGuiWindowProcedure::OnMouseMove(int x, int y)
{
    if (!m_mouseInWindow) {
        m_mouseInWindow = true;
        m_target.ShowSystemCursor(false);
    }
    m_target.InjectMousePosition(static_cast<float>(x), static_cast<float>(y));
    // Keep the cursor out of the bottom 1 %: the bottom panel reacts to the
    // cursor reaching the edge, and a cursor parked there would hold it open.
    if (m_target.CursorRelativeY() > 0.99f) {
        const int clampedY = static_cast<int>(0.99f * m_target.CursorConstraintBottom());
        m_target.InjectMousePosition(m_target.CursorX(), static_cast<float>(clampedY));
    }
}

void CEGuiWindowProcedure::OnMouseLeave()
{
    // Park the GUI cursor below the visible area so nothing keeps its hover.
    const uint32_t below = static_cast<uint32_t>(CQX_GlobalVariable::getInstance().GetClientHeight() - 40) + 100u;
    m_target.InjectMousePosition(0.0f, static_cast<float>(below));
    m_target.InjectMouseLeaves();
    if (m_mouseInWindow) {
        m_mouseInWindow = false;
        m_target.ShowSystemCursor(true);
    }
}

void CEGuiWindowProcedure::OnKeyDown(int virtualKey)
{
    const unsigned code = VirtualKeyToScanCode(virtualKey);
    if (!code)
        return;
    // Shift and Control stay down until released, so that the keys pressed
    // meanwhile select; their auto-repeat would move the selection's anchor.
    if (IsModifier(virtualKey)) {
        if (m_heldModifiers.insert(virtualKey).second)
            m_target.InjectKeyDown(code);
        return;
    }
    m_target.InjectKeyDown(code);
    m_target.InjectKeyUp(code);
}

void CEGuiWindowProcedure::OnKeyUp(int virtualKey)
{
    if (unsigned code = VirtualKeyToScanCode(virtualKey)) {
        m_heldModifiers.erase(virtualKey);
        m_target.InjectKeyUp(code);
    }
}

void CEGuiWindowProcedure::OnChar(uint8_t byte)
{
    if (byte <= 160) {
        m_leadBytePending = false;
        m_target.InjectChar(byte);
        return;
    }
    if (!m_leadBytePending) {
        m_leadByte = byte;
        m_leadBytePending = true;
        return;
    }
    const char pair[2] = {static_cast<char>(m_leadByte), static_cast<char>(byte)};
    m_leadBytePending = false;
    m_target.InjectChar(FirstCodePoint(CodePage::GbkToUtf8(std::string(pair, 2))));
}

void CEGuiWindowProcedure::OnText(const std::string& utf8)
{
    // Typed text reaches the program as code-page bytes, one character message per byte.
    for (char byte : CodePage::Utf8ToGbk(utf8))
        OnChar(static_cast<uint8_t>(byte));
}

void CEGuiWindowProcedure::OnImeComposition()
{
    float x = 0, y = 0, height = 0;
    if (!m_target.SearchBoxRect(x, y, height) || height < 0.001f)
        return;
    m_target.PlaceImeWindow(static_cast<int>(x), static_cast<int>(y + height));
}
