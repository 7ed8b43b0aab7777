#include "platform/MessageBox.h"

#include "platform/Log.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

namespace {

std::mutex g_handlerLock;
MessageBox::Handler g_handler;

MsgBoxResult AnswerFromEnvironment(const char* answer, const std::string& text, const std::string& caption)
{
    if (const char* log = getenv("QUOBRIX_MESSAGEBOX_LOG")) {
        std::ofstream out(log, std::ios::app);
        out << caption << '|' << text << '\n';
    }
    return strcmp(answer, "cancel") == 0 ? MsgBoxResult::Cancel : MsgBoxResult::Ok;
}

Uint32 SdlFlags(MsgBoxIcon icon)
{
    switch (icon) {
    case MsgBoxIcon::Error:
        return SDL_MESSAGEBOX_ERROR;
    case MsgBoxIcon::Warning:
        return SDL_MESSAGEBOX_WARNING;
    case MsgBoxIcon::Information:
        break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

MsgBoxResult ShowWithSdl(const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                         MsgBoxIcon icon)
{
    const SDL_MessageBoxButtonData okCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "确定"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "取消"},
    };
    const SDL_MessageBoxButtonData okOnly[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "确定"},
    };
    SDL_MessageBoxData data{};
    data.flags = SdlFlags(icon);
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = buttons == MsgBoxButtons::OkCancel ? 2 : 1;
    data.buttons = buttons == MsgBoxButtons::OkCancel ? okCancel : okOnly;
    int pressed = 0;
    // Without a display the box cannot be shown; the stderr line is then all
    // the user gets.
    if (SDL_ShowMessageBox(&data, &pressed) != 0)
        return MsgBoxResult::Unshown;
    return pressed == 1 ? MsgBoxResult::Ok : MsgBoxResult::Cancel;
}

}

MsgBoxResult MessageBox::Show(const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                              MsgBoxIcon icon)
{
    fprintf(stderr, "quobrix: %s: %s\n", caption.c_str(), text.c_str());
    Log::Info("notice \"" + caption + "\": " + text);
    Handler handler;
    {
        std::lock_guard<std::mutex> guard(g_handlerLock);
        handler = g_handler;
    }
    if (handler)
        return handler(text, caption, buttons, icon);
    return ShowOwnBox(text, caption, buttons, icon);
}

MsgBoxResult MessageBox::ShowOwnBox(const std::string& text, const std::string& caption, MsgBoxButtons buttons,
                                    MsgBoxIcon icon)
{
    if (const char* answer = getenv("QUOBRIX_MESSAGEBOX_ANSWER"))
        return AnswerFromEnvironment(answer, text, caption);
    return ShowWithSdl(text, caption, buttons, icon);
}

bool MessageBox::IsScripted()
{
    return getenv("QUOBRIX_MESSAGEBOX_ANSWER") != nullptr;
}

void MessageBox::SetHandler(Handler handler)
{
    std::lock_guard<std::mutex> guard(g_handlerLock);
    g_handler = std::move(handler);
}
