#pragma once
#include "platform/WindowMessage.h"

#include <deque>
#include <string>

struct SDL_Window;
union SDL_Event;

// The program's one top-level window with its OpenGL 2.1 context, and the
// translation of SDL's events into window messages.
class PlatformWindow
{
public:
    PlatformWindow() = default;
    ~PlatformWindow();
    PlatformWindow(const PlatformWindow&) = delete;
    PlatformWindow& operator=(const PlatformWindow&) = delete;

    // Creates the window (hidden, at the origin, width x height or the whole
    // display when its size is known) and its GL
    // context. On failure returns false and sets error to a user-readable text.
    bool Create(const std::string& title, int width, int height, std::string& error);
    // Gives the window the picture file at path as its icon (the one window
    // managers and task bars show). False when the file cannot be read; the
    // window then keeps the default icon.
    bool SetIcon(const std::string& path);

    // The X11 class (WM_CLASS) every window of the program carries, which
    // the desktop entry's StartupWMClass names.
    static constexpr const char* kWindowClass = "quobrix";

    // Shows the window borderless over the whole display, like a maximised
    // captionless window.
    void ShowMaximized();
    void Hide();
    void Destroy();

    // Removes one event from the queue. Returns false when the queue was empty;
    // otherwise fills message (type None for events nothing handles).
    bool PeekMessage(WindowMessage& message);

    void SwapBuffers();
    void SetSwapInterval(int interval);
    void GetClientSize(int& width, int& height) const;
    void GetOuterSize(int& width, int& height) const;
    void GetPosition(int& x, int& y) const;
    void ShowSystemCursor(bool show);
    // Places the input method's candidate window at a client rectangle.
    void SetImeRect(int x, int y, int width, int height);
    // Synthesises a close request, as if the user had closed the window.
    static void PostQuit();

    bool IsCreated() const { return m_window != nullptr; }

private:
    void WaitForSize(int width, int height);
    void Translate(const SDL_Event& event);
    void TranslateKey(const SDL_Event& event);
    void Post(WindowMessage message);

    SDL_Window* m_window = nullptr;
    void* m_glContext = nullptr;
    bool m_sdlStarted = false;
    std::deque<WindowMessage> m_pending;
};
