#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <thread>

// The render worker thread: prepares the card textures of heavy-cost
// messages off the render thread, while the user is not interacting and the
// wall is nearly at rest, and passes them on to the render thread.
class CRenderWorker
{
public:
    // The wall counts as resting while its speed is strictly inside this
    // bound: less than a column of its glide is left, so the cards in view
    // are the ones that stay.
    static constexpr double kRestingSpeed = 2.0;
    // A frame: the cards for where the wall stops start with its next frame.
    static constexpr uint32_t kReadinessPollMs = 25;
    // After this many polls the input condition is given up, so constant
    // mouse movement cannot starve the worker; the speed condition stays.
    static constexpr int kInputPolls = 5;

    using Clock = std::function<uint32_t()>;
    using Sleeper = std::function<void(uint32_t)>;

    static CRenderWorker& getInstance();

    // The clock and the sleep are the system's unless a test brings its own.
    CRenderWorker(Clock now = nullptr, Sleeper sleep = nullptr);
    ~CRenderWorker();
    CRenderWorker(const CRenderWorker&) = delete;
    CRenderWorker& operator=(const CRenderWorker&) = delete;

    // Starts the thread (once).
    void Start();
    // Asks the thread to stop, wakes it and waits for it. Safe to call twice.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

    // One turn of the thread's loop: the readiness wait, then one message.
    // False once the worker is to stop.
    bool RunOnce();
    void WaitUntilReady();
    // Takes one message from the heavy-cost queue (blocking) and prepares it.
    // False once the worker is to stop.
    bool PreRenderNext();

    // Owned by the worker's thread; read it only while the thread is stopped.
    const std::set<int>& PreRendered() const { return m_preRendered; }

private:
    void renderWorkerThread();
    bool IsStopping() const;
    bool IsUserBusy() const;
    static bool IsWallResting();

    Clock m_now;
    Sleeper m_sleep;
    std::atomic<bool> m_stopping{false};
    std::set<int> m_preRendered;
    int m_lastSearchId = 0;
    std::thread m_thread;
};
