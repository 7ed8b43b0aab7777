#include "platform/Clipboard.h"

#include <SDL.h>

namespace {

bool VideoReady()
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

}

bool Clipboard::SetText(const std::string& utf8)
{
    return VideoReady() && SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::string Clipboard::GetText()
{
    if (!VideoReady() || !SDL_HasClipboardText())
        return std::string();
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}
