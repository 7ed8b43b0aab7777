#include "common/CEGuiWindowProcTarget.h"

#include "common/CEGuiCompat.h"
#include "platform/PlatformWindow.h"

namespace {

CEGUI::MouseButton GuiButton(int button)
{
    switch (button) {
    case 1: return CEGUI::RightButton;
    case 2: return CEGUI::MiddleButton;
    default: return CEGUI::LeftButton;
    }
}

bool HasGui()
{
    return CEGUI::System::getSingletonPtr() != nullptr;
}

}

CEGuiWindowProcTarget::CEGuiWindowProcTarget(PlatformWindow& window)
    : m_window(window)
{
}

void CEGuiWindowProcTarget::InjectMousePosition(float x, float y)
{
    if (HasGui())
        CEGuiCompat::Context().injectMousePosition(x, y);
}

void CEGuiWindowProcTarget::InjectMouseLeaves()
{
    if (HasGui())
        CEGuiCompat::Context().injectMouseLeaves();
}

void CEGuiWindowProcTarget::InjectMouseButtonDown(int button)
{
    if (HasGui())
        CEGuiCompat::Context().injectMouseButtonDown(GuiButton(button));
}

void CEGuiWindowProcTarget::InjectMouseButtonUp(int button)
{
    if (HasGui())
        CEGuiCompat::Context().injectMouseButtonUp(GuiButton(button));
}

void CEGuiWindowProcTarget::InjectMouseWheelChange(float delta)
{
    if (HasGui())
        CEGuiCompat::Context().injectMouseWheelChange(delta);
}

void CEGuiWindowProcTarget::InjectKeyDown(unsigned scanCode)
{
    if (HasGui())
        CEGuiCompat::Context().injectKeyDown(static_cast<CEGUI::Key::Scan>(scanCode));
}

void CEGuiWindowProcTarget::InjectKeyUp(unsigned scanCode)
{
    if (HasGui())
        CEGuiCompat::Context().injectKeyUp(static_cast<CEGUI::Key::Scan>(scanCode));
}

void CEGuiWindowProcTarget::InjectChar(uint32_t codePoint)
{
    if (HasGui())
        CEGuiCompat::Context().injectChar(codePoint);
}

float CEGuiWindowProcTarget::CursorRelativeY() const
{
    if (!HasGui())
        return 0;
    const auto& context = CEGuiCompat::Context();
    const float height = context.getSurfaceSize().d_height;
    return height > 0 ? context.getMouseCursor().getPosition().d_y / height : 0;
}

float CEGuiWindowProcTarget::CursorX() const
{
    return HasGui() ? CEGuiCompat::Context().getMouseCursor().getPosition().d_x : 0;
}

float CEGuiWindowProcTarget::CursorConstraintBottom() const
{
    return HasGui() ? CEGuiCompat::Context().getMouseCursor().getConstraintArea().bottom() : 0;
}

void CEGuiWindowProcTarget::ShowSystemCursor(bool show)
{
    m_window.ShowSystemCursor(show);
}

bool CEGuiWindowProcTarget::SearchBoxRect(float& x, float& y, float& height) const
{
    CEGUI::Window* box = CEGuiCompat::FindWindow("SearchDiv/editName");
    if (!box)
        return false;
    const CEGUI::Rectf area = box->getUnclippedOuterRect().get();
    x = area.left();
    y = area.top();
    height = box->getPixelSize().d_height;
    return true;
}

void CEGuiWindowProcTarget::PlaceImeWindow(int x, int y)
{
    m_window.SetImeRect(x, y, 1, 1);
}
