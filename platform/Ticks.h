#pragma once
#include <cstdint>

// Millisecond ticks of a monotonic clock, kept in 32 bits like the rest of the
// program's times. They wrap after 49.7 days, so compare them with TickBefore,
// never with a plain "<".
uint32_t GetTickCount();

void Sleep(uint32_t milliseconds);

// a is earlier than b, by signed 32-bit difference (correct across wrap-around).
inline bool TickBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }
