#pragma once
#include <chrono>
#include <functional>
#include <thread>

// Waits for something other threads bring about; false when it did not
// happen within a generous bound (a failing test then fails, never hangs).
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds bound = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
