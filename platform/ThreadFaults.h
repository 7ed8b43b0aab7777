#pragma once
#include <cstddef>
#include <functional>
#include <string>

// What a background thread met that it could not handle (a full queue, a
// failed allocation, a library error). The thread records it and goes on
// with its next piece of work instead of ending the process.
class ThreadFaults
{
public:
    // Runs one piece of a thread's work; false when it threw, after the
    // exception was recorded and written to stderr.
    static bool Run(const char* thread, const std::function<void()>& work);

    static size_t Count();
    // "thread: what" of the last fault; empty when none.
    static std::string Last();
};
