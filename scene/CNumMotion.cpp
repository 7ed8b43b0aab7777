#include "scene/CNumMotion.h"

#include "platform/Ticks.h"

#include <cmath>

CNumMotion::CNumMotion(double initialValue, int curve)
    : m_value(initialValue), m_curve(curve)
{
}

bool CNumMotion::AddKey(double value, uint32_t tick)
{
    if (m_keyCount > 0 && (m_keyCount >= kMaxKeys || !TickBefore(LastKeyTick(), tick)))
        return false;
    m_values[m_keyCount] = value;
    m_ticks[m_keyCount] = tick;
    ++m_keyCount;
    return true;
}

double CNumMotion::Eased(double f) const
{
    switch (m_curve) {
    case SquareRoot: return std::sqrt(f);
    case Square: return f * f;
    default: return f;
    }
}

void CNumMotion::DropKeysBefore(int first)
{
    for (int i = first; i < m_keyCount; ++i) {
        m_values[i - first] = m_values[i];
        m_ticks[i - first] = m_ticks[i];
    }
    m_keyCount -= first;
}

bool CNumMotion::UpdateAt(uint32_t now)
{
    if (m_keyCount == 0)
        return false;
    if (m_keyCount == 1 || !TickBefore(m_ticks[0], now)) {
        m_value = m_values[0];
        return true;
    }
    if (TickBefore(now, m_ticks[1])) {
        const double f = static_cast<double>(static_cast<int32_t>(now - m_ticks[0])) /
                         static_cast<int32_t>(m_ticks[1] - m_ticks[0]);
        m_value = m_values[0] + (m_values[1] - m_values[0]) * Eased(f);
        return true;
    }
    // Key 1 is due: the last key due becomes the start of what remains.
    int lastDue = 1;
    while (lastDue + 1 < m_keyCount && !TickBefore(now, m_ticks[lastDue + 1]))
        ++lastDue;
    DropKeysBefore(lastDue);
    m_ticks[0] = now;
    m_value = m_values[0];
    return true;
}
