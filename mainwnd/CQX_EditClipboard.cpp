#include "mainwnd/CQX_EditClipboard.h"

#include "common/CEGuiCompat.h"
#include "platform/Clipboard.h"

namespace {

CEGUI::String SelectedText(const CEGUI::Editbox& box)
{
    return box.getText().substr(box.getSelectionStartIndex(), box.getSelectionLength());
}

// The box holds one line: line breaks and tabs of the pasted text become
// spaces, and what would not fit the box's length is dropped.
CEGUI::String SingleLine(const CEGUI::String& text, size_t room)
{
    CEGUI::String line;
    for (size_t i = 0; i < text.length() && line.length() < room; ++i)
        line += text[i] < 0x20 ? CEGUI::String::value_type(' ') : text[i];
    return line;
}

}

bool CQX_EditClipboard::Handle(CEGUI::Editbox& box, CEGUI::String::value_type character)
{
    switch (character) {
    case kCopy: Copy(box); return true;
    case kCut: Cut(box); return true;
    case kPaste: Paste(box); return true;
    case kSelectAll: box.setSelection(0, box.getText().length()); return true;
    default: return false;
    }
}

void CQX_EditClipboard::Copy(const CEGUI::Editbox& box)
{
    if (box.getSelectionLength() > 0)
        Clipboard::SetText(CEGuiCompat::FromGui(SelectedText(box)));
}

void CQX_EditClipboard::Cut(CEGUI::Editbox& box)
{
    const size_t start = box.getSelectionStartIndex();
    const size_t length = box.getSelectionLength();
    if (length == 0)
        return;
    Copy(box);
    CEGUI::String text = box.getText();
    text.erase(start, length);
    box.setText(text);
    box.setCaretIndex(start);
}

void CQX_EditClipboard::Paste(CEGUI::Editbox& box)
{
    const std::string clip = Clipboard::GetText();
    if (clip.empty())
        return;
    const size_t start = box.getSelectionStartIndex();
    CEGUI::String text = box.getText();
    text.erase(start, box.getSelectionLength());
    const size_t room = box.getMaxTextLength() > text.length() ? box.getMaxTextLength() - text.length() : 0;
    const CEGUI::String inserted = SingleLine(CEGuiCompat::Utf8(clip), room);
    text.insert(start, inserted);
    box.setText(text);
    box.setCaretIndex(start + inserted.length());
}
