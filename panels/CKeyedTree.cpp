#include "panels/CKeyedTree.h"

#include "common/CEGuiCompat.h"

CEGUI::TreeItem* CKeyedTree::CreateItem(const std::string& utf8Text, const std::string& key)
{
    CEGUI::uint id = kNoKeyId;
    if (!key.empty()) {
        m_keys.push_back(key);
        id = static_cast<CEGUI::uint>(m_keys.size());
    }
    const CEGUI::String text = CEGuiCompat::Utf8(utf8Text);
    auto* item = new CEGUI::TreeItem(text, id);
    item->setTooltipText(text);
    item->setSelectionBrushImage(CEGuiCompat::ImageName("set:PlayStop image:CategoryTextSelect"));
    return item;
}

CEGUI::TreeItem* CKeyedTree::AddItem(const std::string& utf8Text, const std::string& key, CEGUI::TreeItem* parent)
{
    CEGUI::TreeItem* item = CreateItem(utf8Text, key);
    if (parent)
        parent->addItem(item);
    else
        m_tree->addItem(item);
    return item;
}

CEGUI::TreeItem* CKeyedTree::InsertFirst(const std::string& utf8Text, const std::string& key)
{
    CEGUI::TreeItem* item = CreateItem(utf8Text, key);
    m_tree->insertItem(item, nullptr);
    return item;
}

std::string CKeyedTree::KeyOf(const CEGUI::TreeItem* item) const
{
    if (!item)
        return std::string();
    const CEGUI::uint id = item->getID();
    return id >= 1 && id <= m_keys.size() ? m_keys[id - 1] : std::string();
}

void CKeyedTree::Reset()
{
    m_keys.clear();
    m_selected = nullptr;
    if (m_tree)
        m_tree->resetList();
}
