#pragma once
#include <functional>
#include <string>

enum class MsgBoxButtons { Ok, OkCancel };
enum class MsgBoxIcon { Error, Warning, Information };
// Unshown: the box could not be put to the user; it is no answer.
enum class MsgBoxResult { Ok, Cancel, Unshown };

// Modal message boxes without an owner window. Every box is also written to
// stderr, so a headless run still tells the user what happened.
//
// Tests and scripted runs answer boxes without a person: a handler installed
// with SetHandler, or the environment variable QUOBRIX_MESSAGEBOX_ANSWER
// ("ok" or "cancel"; the box is then not shown) with QUOBRIX_MESSAGEBOX_LOG
// naming a file that receives one line "caption|text" per box.
class MessageBox
{
public:
    using Handler = std::function<MsgBoxResult(const std::string& text, const std::string& caption,
                                               MsgBoxButtons buttons, MsgBoxIcon icon)>;

    // Text and caption are UTF-8.
    static MsgBoxResult Show(const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                             MsgBoxIcon icon);

    // Replaces the handler for the whole process; an empty handler restores the default.
    static void SetHandler(Handler handler);

    // The default without the stderr line: the scripted answer, or a box of
    // the desktop's own. For the thread that runs the window only: from any
    // other it can hang.
    static MsgBoxResult ShowOwnBox(const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                                   MsgBoxIcon icon);
    // Whether QUOBRIX_MESSAGEBOX_ANSWER answers every box.
    static bool IsScripted();
};
