#pragma once
#include "scene/CQX_Motion.h"

// One number moving through key values due at given ticks, along a curve:
// linear, square root (fast start, soft arrival) or square (soft start).
// The camera's distance and tilt are animated with it.
class CNumMotion : public CQX_Motion
{
public:
    enum Curve { Linear = 0, SquareRoot = 1, Square = 2 };
    static constexpr int kMaxKeys = 16;

    explicit CNumMotion(double initialValue = 0, int curve = Linear);

    void Reset() { m_keyCount = 0; }
    // Appends a key when none is held, or when fewer than 16 are held and the
    // tick is later than the last key's. Returns whether it was appended.
    bool AddKey(double value, uint32_t tick);
    // Evaluates at now and stores the result as the current value; keys
    // already passed are dropped. False when no key is held.
    bool UpdateAt(uint32_t now) override;

    double Value() const { return m_value; }
    int KeyCount() const { return m_keyCount; }
    // No key ahead: the value no longer changes.
    bool IsSettled() const { return m_keyCount == 0 || (m_keyCount == 1 && m_value == m_values[0]); }
    uint32_t LastKeyTick() const { return m_ticks[m_keyCount - 1]; }

private:
    double Eased(double f) const;
    void DropKeysBefore(int first);

    double m_values[kMaxKeys] = {};
    uint32_t m_ticks[kMaxKeys] = {};
    int m_keyCount = 0;
    double m_value;
    int m_curve;
};
