#pragma once
#include <CEGUI/CEGUI.h>

// The pictures (classic "set:X image:Y" names) and tooltip of an image
// button in one of its states.
struct CButtonLooks
{
    const char* normal;
    const char* hover;
    const char* pushed;
    const char* tooltip;

    void ApplyTo(CEGUI::Window* button) const;
};
