#pragma once
#include <CEGUI/CEGUI.h>

#include <cstdint>
#include <string>
#include <vector>

// The read-only drop-down lists of the top panel: entries whose id is their
// position, drawn with the common selection brush.
class CQX_ComboList
{
public:
    // Appends one entry per UTF-8 text, at most maxEntries of those the
    // list still lacks, and makes the list read-only; true once it holds
    // them all.
    static bool Fill(CEGUI::Combobox* list, const std::vector<std::string>& texts, size_t maxEntries = SIZE_MAX);
    // Selects the entry with that id and shows its text; false when there is none.
    static bool Select(CEGUI::Combobox* list, int id);
    // Selects the entry with that UTF-8 text; false when there is none.
    static bool SelectText(CEGUI::Combobox* list, const std::string& text);
    // The selected entry's id, -1 when nothing is selected.
    static int SelectedId(const CEGUI::Combobox* list);
    static std::string SelectedText(const CEGUI::Combobox* list);
};
