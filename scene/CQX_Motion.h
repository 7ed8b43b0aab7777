#pragma once
#include <cstdint>

// Something animated over time, advanced by the frame's tick.
class CQX_Motion
{
public:
    virtual ~CQX_Motion() = default;
    // Advances to tick; false when there is nothing to animate.
    virtual bool UpdateAt(uint32_t tick) = 0;
};
