#include "mainwnd/CQX_ComboList.h"

#include "common/CEGuiCompat.h"

namespace {

const char* const kSelectionBrush = "set:TaharezLook image:MultiListSelectionBrush";

}

bool CQX_ComboList::Fill(CEGUI::Combobox* list, const std::vector<std::string>& texts, size_t maxEntries)
{
    const CEGUI::String brush = CEGuiCompat::ImageName(kSelectionBrush).c_str();
    for (size_t i = list->getItemCount(); i < texts.size() && maxEntries > 0; ++i, --maxEntries) {
        auto* item = new CEGUI::ListboxTextItem(CEGuiCompat::Utf8(texts[i]), static_cast<CEGUI::uint>(i));
        item->setSelectionBrushImage(brush);
        list->addItem(item);
    }
    list->setReadOnly(true);
    return list->getItemCount() >= texts.size();
}

bool CQX_ComboList::Select(CEGUI::Combobox* list, int id)
{
    if (id < 0 || static_cast<size_t>(id) >= list->getItemCount())
        return false;
    list->setItemSelectState(static_cast<size_t>(id), true);
    return true;
}

bool CQX_ComboList::SelectText(CEGUI::Combobox* list, const std::string& text)
{
    CEGUI::ListboxItem* item = list->findItemWithText(CEGuiCompat::Utf8(text), nullptr);
    if (!item)
        return false;
    list->setItemSelectState(item, true);
    return true;
}

int CQX_ComboList::SelectedId(const CEGUI::Combobox* list)
{
    const CEGUI::ListboxItem* item = list->getSelectedItem();
    return item ? static_cast<int>(item->getID()) : -1;
}

std::string CQX_ComboList::SelectedText(const CEGUI::Combobox* list)
{
    const CEGUI::ListboxItem* item = list->getSelectedItem();
    return item ? CEGuiCompat::FromGui(item->getText()) : std::string();
}
