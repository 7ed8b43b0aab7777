#pragma once
#include "platform/MessageBox.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Questions that other threads (the upgrade check) put to the user through
// the dialog inside the program's window. The asking thread waits while the
// render thread shows the question and collects the answer. A question that
// cannot be put, because the window is not there (any more) or the program
// quits, comes back unshown: it is no answer.
class CQX_DialogChannel
{
public:
    struct Question
    {
        std::string text;     // UTF-8
        std::string caption;  // UTF-8
        MsgBoxButtons buttons = MsgBoxButtons::Ok;
    };

    static CQX_DialogChannel& getInstance();

    // From now on message boxes of other threads than guiThread become
    // questions here; the window's own thread keeps the desktop's boxes.
    // User notices of every thread are told here.
    static void RouteMessageBoxes(std::thread::id guiThread);

    // Never from the render thread: it would wait for itself.
    MsgBoxResult Ask(const Question& question);
    // A notice that nobody waits for, from any thread: shown after the
    // question that waits, in the order told.
    void Tell(const Question& notice);

    // The render thread: the question waiting to be shown, else the oldest
    // notice told, once.
    std::optional<Question> TakeQuestion();
    void Answer(MsgBoxResult answer);
    // The window is gone: the waiting question and every later one come back unshown.
    void Close();

private:
    CQX_DialogChannel() = default;

    std::mutex m_askLock;
    std::mutex m_lock;
    std::condition_variable m_answered;
    std::optional<Question> m_question;
    bool m_questionTaken = false;
    std::deque<Question> m_notices;
    std::optional<MsgBoxResult> m_answer;
    bool m_closed = false;
};
