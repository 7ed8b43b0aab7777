#include "mainwnd/CQX_TimerList.h"

#include "platform/Ticks.h"

CQX_TimerList& CQX_TimerList::getInstance()
{
    static CQX_TimerList instance;
    return instance;
}

bool CQX_TimerList::IsDue() const
{
    return !m_timers.empty() && !TickBefore(m_clock, m_nextDue);
}

void CQX_TimerList::AddTimer(int value, Callback callback)
{
    const uint32_t due = m_clock + kDelayMs;
    if (m_timers.empty() || TickBefore(due, m_nextDue))
        m_nextDue = due;
    m_timers.push_back({due, value, std::move(callback)});
}

void CQX_TimerList::FireDueTimers()
{
    // Take the due timers out first: a callback may add a new timer.
    std::vector<Timer> due;
    std::vector<Timer> waiting;
    for (auto& timer : m_timers)
        (TickBefore(m_clock, timer.due) ? waiting : due).push_back(std::move(timer));
    m_timers = std::move(waiting);
    RecomputeNextDue();
    for (auto& timer : due)
        timer.callback(timer.value);
}

void CQX_TimerList::RecomputeNextDue()
{
    if (m_timers.empty())
        return;
    m_nextDue = m_timers.front().due;
    for (const auto& timer : m_timers)
        if (TickBefore(timer.due, m_nextDue))
            m_nextDue = timer.due;
}
