#include "mainwnd/CQX_DialogChannel.h"

#include "common/CEGuiBaseApplication.h"
#include "platform/UserNotice.h"

#include <chrono>

namespace {
// How often a waiting question looks whether the program quits.
constexpr std::chrono::milliseconds kQuitPoll(100);
}

CQX_DialogChannel& CQX_DialogChannel::getInstance()
{
    static CQX_DialogChannel instance;
    return instance;
}

void CQX_DialogChannel::RouteMessageBoxes(std::thread::id guiThread)
{
    MessageBox::SetHandler([guiThread](const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                                       MsgBoxIcon icon) {
        if (std::this_thread::get_id() == guiThread || MessageBox::IsScripted())
            return MessageBox::ShowOwnBox(text, caption, buttons, icon);
        return getInstance().Ask({text, caption, buttons});
    });
    UserNotice::SetSink([](const std::string& text) {
        if (MessageBox::IsScripted())
            MessageBox::ShowOwnBox(text, UserNotice::kCaption, MsgBoxButtons::Ok, MsgBoxIcon::Warning);
        else
            getInstance().Tell({text, UserNotice::kCaption, MsgBoxButtons::Ok});
    });
}

MsgBoxResult CQX_DialogChannel::Ask(const Question& question)
{
    std::lock_guard<std::mutex> oneAtATime(m_askLock);
    std::unique_lock<std::mutex> lock(m_lock);
    m_question = question;
    m_questionTaken = false;
    m_answer.reset();
    while (!m_answer && !m_closed && !CEGuiBaseApplication::IsQuitting())
        m_answered.wait_for(lock, kQuitPoll);
    const MsgBoxResult answer = m_answer.value_or(MsgBoxResult::Unshown);
    m_question.reset();
    m_answer.reset();
    return answer;
}

void CQX_DialogChannel::Tell(const Question& notice)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_closed)
        m_notices.push_back(notice);
}

std::optional<CQX_DialogChannel::Question> CQX_DialogChannel::TakeQuestion()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_closed)
        return std::nullopt;
    if (m_question && !m_questionTaken) {
        m_questionTaken = true;
        return m_question;
    }
    // A notice never goes up while a question is on screen: its answer
    // would be taken for the question's.
    if (m_notices.empty() || (m_question && m_questionTaken))
        return std::nullopt;
    Question notice = m_notices.front();
    m_notices.pop_front();
    return notice;
}

void CQX_DialogChannel::Answer(MsgBoxResult answer)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_question || !m_questionTaken)
            return;
        m_answer = answer;
    }
    m_answered.notify_all();
}

void CQX_DialogChannel::Close()
{
    UserNotice::SetSink(nullptr);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_closed = true;
        m_notices.clear();
    }
    m_answered.notify_all();
}
