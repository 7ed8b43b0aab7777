#pragma once
#include <cstdint>
#include <string>

// One window event in the shape of the classic window messages the GUI input
// rules are written for. Key codes are Windows virtual-key codes; characters
// typed by the user arrive as UTF-8 text; control characters (Enter, Tab,
// Escape, Backspace, Ctrl+letter) arrive as single Char bytes.
struct WindowMessage
{
    enum Type
    {
        None,          // an event that needs no handling
        Destroy,       // the window was closed or the process asked to quit
        Size,
        MouseMove,     // x, y in client pixels
        MouseLeave,
        ButtonDown,    // button: 0 left, 1 right, 2 middle
        ButtonUp,
        MouseWheel,    // wheelDelta in units of 120 per notch, up is positive
        KeyDown,       // virtualKey
        KeyUp,
        Char,          // charByte
        Text,          // text, UTF-8
        ImeComposition,
    };

    Type type = None;
    int x = 0;
    int y = 0;
    int button = 0;
    int wheelDelta = 0;
    int virtualKey = 0;
    uint8_t charByte = 0;
    std::string text;
};
