#include "panels/CButtonLooks.h"

#include "common/CEGuiCompat.h"

void CButtonLooks::ApplyTo(CEGUI::Window* button) const
{
    CEGuiCompat::SetProperty(button, "NormalImage", normal);
    CEGuiCompat::SetProperty(button, "HoverImage", hover);
    CEGuiCompat::SetProperty(button, "PushedImage", pushed);
    CEGuiCompat::SetProperty(button, "Tooltip", tooltip);
}
