#pragma once
#include <CEGUI/CEGUI.h>

// Copy, cut and paste between an edit box and the desktop's clipboard, for
// the control characters Ctrl+C (3), Ctrl+X (24) and Ctrl+V (22); Ctrl+A (1)
// selects the whole text to act on.
class CQX_EditClipboard
{
public:
    static constexpr CEGUI::String::value_type kCopy = 3;
    static constexpr CEGUI::String::value_type kCut = 24;
    static constexpr CEGUI::String::value_type kPaste = 22;
    static constexpr CEGUI::String::value_type kSelectAll = 1;

    // Runs the clipboard operation of a control character; false for any
    // other character.
    static bool Handle(CEGUI::Editbox& box, CEGUI::String::value_type character);

    static void Copy(const CEGUI::Editbox& box);
    static void Cut(CEGUI::Editbox& box);
    static void Paste(CEGUI::Editbox& box);
};
