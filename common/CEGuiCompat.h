#pragma once
// The program names its GUI objects in the classic CEGUI 0.6 form: image
// strings "set:X image:Y", the property "UnifiedAreaRect", window names such
// as "SearchDiv/editName" looked up from the root. CEGUI 0.8 spells these
// differently; this is the one place that translates.
#include <CEGUI/CEGUI.h>

#include <string>

class CEGuiCompat
{
public:
    // "set:FirstPage image:Credit" -> "FirstPage/Credit"; other strings unchanged.
    static std::string ImageName(const std::string& classic);
    // "UnifiedAreaRect" -> "Area", "Tooltip" -> "TooltipText"; other names unchanged.
    static std::string PropertyName(const std::string& classic);
    // "MouseLeave"/"MouseEnter" -> the 0.8 event names; others unchanged.
    static std::string EventName(const std::string& classic);

    // The window with that classic name below the root sheet: its own name and
    // its ancestors' names, joined by "/", end with the classic name.
    // Throws CEGUI::UnknownObjectException when there is none.
    static CEGUI::Window* GetWindow(const std::string& classicName);
    static CEGUI::Window* FindWindow(const std::string& classicName);
    static CEGUI::Window* FindWindowBelow(CEGUI::Window* root, const std::string& classicName);
    static bool IsWindowPresent(const std::string& classicName) { return FindWindow(classicName) != nullptr; }

    // Sets a property given in classic form; image values are translated too.
    static void SetProperty(CEGUI::Window* window, const std::string& name, const std::string& value);

    // Text crosses the GUI boundary as UTF-8; CEGUI's char* constructor would
    // read it as Latin-1.
    static CEGUI::String Utf8(const std::string& text);
    static std::string FromGui(const CEGUI::String& text) { return text.c_str(); }

    static CEGUI::GUIContext& Context() { return CEGUI::System::getSingleton().getDefaultGUIContext(); }
};
