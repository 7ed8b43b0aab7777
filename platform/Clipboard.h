#pragma once
#include <string>

// The desktop's clipboard, as UTF-8 text. Before the window exists the video
// system is started on first use; without a display every call fails quietly.
class Clipboard
{
public:
    static bool SetText(const std::string& utf8);
    // Empty when the clipboard holds no text.
    static std::string GetText();
};
