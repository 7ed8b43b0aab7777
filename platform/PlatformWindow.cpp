#include "platform/PlatformWindow.h"

#include "platform/PixelImage.h"
#include "platform/VirtualKeys.h"

#include <GL/glew.h>
#include <cstdlib>
#include <SDL.h>

namespace {

int VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VK_F1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    default: return 0;
    }
}

// The character a key press also produces as a control character, as the
// classic message translation does (Enter 13, Tab 9, Escape 27, Backspace 8,
// Ctrl+A..Z 1..26); 0 when the key's character comes as text input instead.
int ControlCharOf(SDL_Keycode key, Uint16 modifiers)
{
    const bool ctrl = (modifiers & KMOD_CTRL) != 0;
    if (ctrl && key >= SDLK_a && key <= SDLK_z)
        return 1 + (key - SDLK_a);
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_TAB: return 9;
    case SDLK_ESCAPE: return 27;
    case SDLK_BACKSPACE: return 8;
    default: return 0;
    }
}

int ButtonIndex(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
    }
}

}

PlatformWindow::~PlatformWindow()
{
    Destroy();
}

bool PlatformWindow::Create(const std::string& title, int width, int height, std::string& error)
{
    // SDL reads the class when its X11 driver starts; a class set by the
    // user in the environment stays.
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
    // Without an X server SDL falls back to drivers whose GL the program
    // cannot load; only a driver asked for by name (tests) is taken as it is.
    const bool started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    m_sdlStarted = started;
    const char* driver = started ? SDL_GetCurrentVideoDriver() : nullptr;
    if (!started || (!getenv("SDL_VIDEODRIVER") && (!driver || std::string(driver) != "x11"))) {
        const char* display = getenv("DISPLAY");
        error = std::string("cannot open the X display ") +
                (display && *display ? "\"" + std::string(display) + "\"" : "(DISPLAY is not set)") +
                (started ? "" : std::string(": ") + SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    m_window = SDL_CreateWindow(title.c_str(), 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!m_window) {
        error = std::string("Failed to create window: ") + SDL_GetError();
        return false;
    }
    // The GL back buffer keeps the size the window had when the context was
    // made current; so the window gets the whole display before that, and
    // ShowMaximized only confirms it.
    SDL_Rect bounds{0, 0, width, height};
    if (SDL_GetDisplayBounds(0, &bounds) == 0) {
        SDL_SetWindowBordered(m_window, SDL_FALSE);
        SDL_SetWindowSize(m_window, bounds.w, bounds.h);
        WaitForSize(bounds.w, bounds.h);
    }
    m_glContext = SDL_GL_CreateContext(m_window);
    if (!m_glContext) {
        error = std::string("no usable OpenGL: no OpenGL 2.1 context: ") + SDL_GetError();
        return false;
    }
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        error = "no usable OpenGL: its extensions cannot be loaded";
        return false;
    }
    return true;
}

bool PlatformWindow::SetIcon(const std::string& path)
{
    if (!m_window)
        return false;
    PixelImage icon = PixelImage::LoadFile(path);
    if (icon.IsEmpty())
        return false;
    // PixelImage rows are 32-bit 0xAARRGGBB words, top row first: SDL's ARGB8888.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.Pixels(), icon.Width(), icon.Height(), 32,
                                                              icon.Width() * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return false;
    SDL_SetWindowIcon(m_window, surface);
    SDL_FreeSurface(surface);
    return true;
}

void PlatformWindow::ShowMaximized()
{
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &bounds);
    SDL_SetWindowBordered(m_window, SDL_FALSE);
    SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
    SDL_SetWindowSize(m_window, bounds.w, bounds.h);
    SDL_ShowWindow(m_window);
    // With a window manager this also marks the window maximised; without one
    // (a bare X server) the explicit size above already covers the display.
    SDL_MaximizeWindow(m_window);
    SDL_RaiseWindow(m_window);
    WaitForSize(bounds.w, bounds.h);
    SDL_GL_MakeCurrent(m_window, m_glContext);
}

void PlatformWindow::WaitForSize(int width, int height)
{
    // The X server applies the new size asynchronously; the GUI and the
    // projection are set up from the client size right after this, so wait
    // (briefly) until it is the real one. Other events stay queued.
    for (int i = 0; i < 100; ++i) {
        SDL_PumpEvents();
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window, &w, &h);
        if (w == width && h == height)
            return;
        SDL_Delay(10);
    }
}

void PlatformWindow::Hide()
{
    if (m_window)
        SDL_HideWindow(m_window);
}

void PlatformWindow::Destroy()
{
    if (m_glContext) {
        SDL_GL_DeleteContext(m_glContext);
        m_glContext = nullptr;
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_sdlStarted) {
        SDL_Quit();
        m_sdlStarted = false;
    }
}

bool PlatformWindow::PeekMessage(WindowMessage& message)
{
    if (m_pending.empty()) {
        SDL_Event event;
        if (!SDL_PollEvent(&event))
            return false;
        Translate(event);
    }
    if (m_pending.empty()) {
        message = WindowMessage();
        return true;
    }
    message = m_pending.front();
    m_pending.pop_front();
    return true;
}

void PlatformWindow::Post(WindowMessage message)
{
    m_pending.push_back(std::move(message));
}

void PlatformWindow::Translate(const SDL_Event& event)
{
    WindowMessage m;
    switch (event.type) {
    case SDL_QUIT:
        m.type = WindowMessage::Destroy;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            m.type = WindowMessage::Destroy;
        else if (event.window.event == SDL_WINDOWEVENT_LEAVE)
            m.type = WindowMessage::MouseLeave;
        else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            m.type = WindowMessage::Size;
        break;
    case SDL_MOUSEMOTION:
        m.type = WindowMessage::MouseMove;
        m.x = event.motion.x;
        m.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        m.button = ButtonIndex(event.button.button);
        if (m.button >= 0)
            m.type = event.type == SDL_MOUSEBUTTONDOWN ? WindowMessage::ButtonDown : WindowMessage::ButtonUp;
        break;
    case SDL_MOUSEWHEEL:
        m.type = WindowMessage::MouseWheel;
        m.wheelDelta = 120 * (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event);
        return;
    case SDL_TEXTINPUT:
        m.type = WindowMessage::Text;
        m.text = event.text.text;
        break;
    case SDL_TEXTEDITING:
        m.type = WindowMessage::ImeComposition;
        break;
    default:
        break;
    }
    if (m.type != WindowMessage::None)
        Post(std::move(m));
}

void PlatformWindow::TranslateKey(const SDL_Event& event)
{
    const SDL_Keycode key = event.key.keysym.sym;
    WindowMessage m;
    m.virtualKey = VirtualKeyOf(key);
    if (event.type == SDL_KEYUP) {
        if (m.virtualKey) {
            m.type = WindowMessage::KeyUp;
            Post(m);
        }
        return;
    }
    if (m.virtualKey) {
        m.type = WindowMessage::KeyDown;
        Post(m);
    }
    if (int c = ControlCharOf(key, event.key.keysym.mod)) {
        WindowMessage ch;
        ch.type = WindowMessage::Char;
        ch.charByte = static_cast<uint8_t>(c);
        Post(ch);
    }
}

void PlatformWindow::SwapBuffers()
{
    SDL_GL_SwapWindow(m_window);
}

void PlatformWindow::SetSwapInterval(int interval)
{
    SDL_GL_SetSwapInterval(interval);
}

void PlatformWindow::GetClientSize(int& width, int& height) const
{
    SDL_GL_GetDrawableSize(m_window, &width, &height);
}

void PlatformWindow::GetOuterSize(int& width, int& height) const
{
    SDL_GetWindowSize(m_window, &width, &height);
}

void PlatformWindow::GetPosition(int& x, int& y) const
{
    SDL_GetWindowPosition(m_window, &x, &y);
}

void PlatformWindow::ShowSystemCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void PlatformWindow::SetImeRect(int x, int y, int width, int height)
{
    SDL_Rect rect{x, y, width, height};
    SDL_SetTextInputRect(&rect);
}

void PlatformWindow::PostQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}
