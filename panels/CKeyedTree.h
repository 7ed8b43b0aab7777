#pragma once
#include <CEGUI/CEGUI.h>

#include <string>
#include <vector>

// A tree widget with a key per item: the item with ID n (from 1) has key
// number n; an item added without a key gets ID -1 and has none. It also
// remembers the selected item, the one whose search is active.
class CKeyedTree
{
public:
    static constexpr CEGUI::uint kNoKeyId = static_cast<CEGUI::uint>(-1);

    void Attach(CEGUI::Tree* tree) { m_tree = tree; }
    CEGUI::Tree* Tree() const { return m_tree; }

    // Adds an item (UTF-8 text) below parent, or at the top level when
    // parent is null.
    CEGUI::TreeItem* AddItem(const std::string& utf8Text, const std::string& key, CEGUI::TreeItem* parent = nullptr);
    // Adds a top-level item in front of all others.
    CEGUI::TreeItem* InsertFirst(const std::string& utf8Text, const std::string& key);

    // The key of an item; "" for an item without one.
    std::string KeyOf(const CEGUI::TreeItem* item) const;
    CEGUI::TreeItem* Selected() const { return m_selected; }
    void SetSelected(CEGUI::TreeItem* item) { m_selected = item; }
    bool IsEmpty() const { return m_tree->getItemCount() == 0; }

    // Removes every item, key and the selection.
    void Reset();

private:
    CEGUI::TreeItem* CreateItem(const std::string& utf8Text, const std::string& key);

    std::vector<std::string> m_keys;
    CEGUI::Tree* m_tree = nullptr;
    CEGUI::TreeItem* m_selected = nullptr;
};
