#pragma once
#include <atomic>

class CEGuiSample;
struct CD3D9AppState;

// The application frame's base: the quit flag. Any thread may set it at any
// time (a forced upgrade can ask before the window exists or while it is being
// torn down), so it lives for the whole process rather than in the object.
class CEGuiBaseApplication
{
public:
    virtual ~CEGuiBaseApplication() = default;

    virtual bool Execute(CEGuiSample* sample) = 0;
    virtual void Shutdown() = 0;
    static void SetQuitting(bool quit = true) { s_quit.store(quit); }
    static bool IsQuitting() { return s_quit.load(); }
    virtual void SetProjection(int width, int height) = 0;
    virtual CD3D9AppState* GetD3DState() = 0;

private:
    static inline std::atomic<bool> s_quit{false};
};
