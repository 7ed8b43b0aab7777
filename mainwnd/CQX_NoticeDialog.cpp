#include "mainwnd/CQX_NoticeDialog.h"

#include "common/CEGuiCompat.h"

namespace {
constexpr CEGUI::String::value_type kEnter = 13;
constexpr CEGUI::String::value_type kEscape = 27;
}

void CQX_NoticeDialog::Create(CEGUI::Window* root)
{
    m_frame = CEGUI::WindowManager::getSingleton().loadLayoutFromFile("NoticeDialog.layout");
    root->addChild(m_frame);
    m_text = m_frame->getChild("Text");
    m_cancel = m_frame->getChild("Cancel");
    using CEGUI::Event;
    m_frame->getChild("Ok")
        ->subscribeEvent(CEGUI::PushButton::EventClicked, Event::Subscriber(&CQX_NoticeDialog::OnOk, this));
    m_cancel->subscribeEvent(CEGUI::PushButton::EventClicked, Event::Subscriber(&CQX_NoticeDialog::OnDismiss, this));
    m_frame->subscribeEvent(CEGUI::FrameWindow::EventCloseClicked,
                            Event::Subscriber(&CQX_NoticeDialog::OnDismiss, this));
    m_frame->subscribeEvent(CEGUI::Window::EventCharacterKey, Event::Subscriber(&CQX_NoticeDialog::OnCharacter, this));
}

void CQX_NoticeDialog::Poll()
{
    if (!m_frame || IsOpen())
        return;
    if (std::optional<CQX_DialogChannel::Question> question = CQX_DialogChannel::getInstance().TakeQuestion())
        Show(*question);
}

bool CQX_NoticeDialog::IsOpen() const
{
    return m_frame && m_frame->isVisible();
}

void CQX_NoticeDialog::Show(const CQX_DialogChannel::Question& question)
{
    m_buttons = question.buttons;
    m_frame->setText(CEGuiCompat::Utf8(question.caption));
    m_text->setText(CEGuiCompat::Utf8(question.text));
    m_cancel->setVisible(question.buttons == MsgBoxButtons::OkCancel);
    m_frame->show();
    m_frame->activate();
    m_frame->setModalState(true);
}

void CQX_NoticeDialog::Finish(MsgBoxResult answer)
{
    m_frame->setModalState(false);
    m_frame->hide();
    CQX_DialogChannel::getInstance().Answer(answer);
}

MsgBoxResult CQX_NoticeDialog::DismissAnswer() const
{
    return m_buttons == MsgBoxButtons::OkCancel ? MsgBoxResult::Cancel : MsgBoxResult::Ok;
}

bool CQX_NoticeDialog::OnOk(const CEGUI::EventArgs&)
{
    Finish(MsgBoxResult::Ok);
    return true;
}

bool CQX_NoticeDialog::OnDismiss(const CEGUI::EventArgs&)
{
    Finish(DismissAnswer());
    return true;
}

bool CQX_NoticeDialog::OnCharacter(const CEGUI::EventArgs& e)
{
    switch (static_cast<const CEGUI::KeyEventArgs&>(e).codepoint) {
    case kEnter: Finish(MsgBoxResult::Ok); return true;
    case kEscape: Finish(DismissAnswer()); return true;
    default: return false;
    }
}
