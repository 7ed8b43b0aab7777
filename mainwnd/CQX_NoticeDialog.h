#pragma once
#include "mainwnd/CQX_DialogChannel.h"

#include <CEGUI/CEGUI.h>

// The dialog inside the program's window that shows the channel's questions:
// modal, the question's caption and text, OK and, where there is a choice,
// Cancel. Enter answers OK; Escape and the frame's close button answer
// Cancel, or OK where that is the only button.
class CQX_NoticeDialog
{
public:
    // Loads "NoticeDialog.layout" under root.
    void Create(CEGUI::Window* root);
    // Shows the channel's waiting question when no question is open.
    void Poll();
    bool IsOpen() const;

private:
    void Show(const CQX_DialogChannel::Question& question);
    void Finish(MsgBoxResult answer);
    MsgBoxResult DismissAnswer() const;

    bool OnOk(const CEGUI::EventArgs& e);
    bool OnDismiss(const CEGUI::EventArgs& e);
    bool OnCharacter(const CEGUI::EventArgs& e);

    CEGUI::Window* m_frame = nullptr;
    CEGUI::Window* m_text = nullptr;
    CEGUI::Window* m_cancel = nullptr;
    MsgBoxButtons m_buttons = MsgBoxButtons::Ok;
};
