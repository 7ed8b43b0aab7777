#pragma once
#include "platform/WindowMessage.h"

#include <CEGUI/CEGUI.h>

#include <initializer_list>
#include <string>

// The GUI on CEGUI's NullRenderer for tests of GUI logic: the real scheme,
// fonts and layouts from $QX_BUILD_DIR/datafiles at a 1280x800 display.
// One system per test process; Start is idempotent.
class HeadlessGui
{
public:
    static void Start();
    // Loads "Quobrix.layout" as a fresh root sheet (destroying the previous one).
    static CEGUI::Window* LoadMainLayout();
    static CEGUI::Window* LoadLayout(const std::string& file);
    static CEGUI::GUIContext& Context();
    // Clicks the centre of a window with the left button.
    static void Click(CEGUI::Window* window);
    // A window message through the program's window procedure.
    static void Send(const WindowMessage& message);
    // Typed text as the window delivers it: code-page bytes, assembled again.
    static void TypeText(const std::string& utf8);
    // Virtual keys pressed in order and held (a chord such as Shift+Home),
    // the control character the last one types, if any, then all released.
    static void PressKeys(std::initializer_list<int> virtualKeys, uint8_t character = 0);
    // Opens a drop-down list with a click and clicks the entry at index.
    static void ChooseListItem(CEGUI::Combobox* list, size_t index);
    // A key press as the window procedure injects it: down, then up.
    static void PressKey(CEGUI::Key::Scan key);
};
