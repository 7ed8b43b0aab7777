#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// One-shot timers due 3000 ms after they are added, fired by the frame.
class CQX_TimerList
{
public:
    using Callback = std::function<void(int value)>;
    static constexpr uint32_t kDelayMs = 3000;

    static CQX_TimerList& getInstance();

    void SetClock(uint32_t now) { m_clock = now; }
    uint32_t Clock() const { return m_clock; }
    // Whether any timer is due at the current clock.
    bool IsDue() const;
    void AddTimer(int value, Callback callback);
    // Calls every due timer once with its value and removes it.
    void FireDueTimers();
    size_t Count() const { return m_timers.size(); }

private:
    struct Timer
    {
        uint32_t due;
        int value;
        Callback callback;
    };

    void RecomputeNextDue();

    uint32_t m_clock = 0;
    uint32_t m_nextDue = 0;
    std::vector<Timer> m_timers;
};
