#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <new>

// What one page layout may spend on the layout thread: wall time, the memory
// it grows by, and nothing at all once a newer page has made it pointless.
// While a budget is in force on a thread, every allocation the thread makes
// is a check point: past the budget it fails with Exceeded, a std::bad_alloc,
// which unwinds out of the layout engine into the page, which then shows its
// fallback. An allocation made while an exception is already unwinding
// always succeeds, so cleaning up never fails.
class HtmlLayoutBudget
{
public:
    struct Limits
    {
        std::chrono::milliseconds time;
        int64_t bytes;
    };
    // A seller's 100 KB description lays out in about 65 ms and grows by
    // about 12 MiB; these are more than fifteen times that.
    static constexpr Limits kPageLimits{std::chrono::milliseconds(1500), int64_t(192) << 20};

    enum class Verdict
    {
        Within,
        OverTime,
        OverMemory,
        Abandoned
    };

    class Exceeded : public std::bad_alloc
    {
    public:
        const char* what() const noexcept override { return "page layout over its budget"; }
    };

    // The layout is abandoned as soon as *abandoned is true (may be null).
    HtmlLayoutBudget(Limits limits, const std::atomic<bool>* abandoned);

    // Puts a budget in force on the calling thread for the scope's life.
    class Scope
    {
    public:
        explicit Scope(HtmlLayoutBudget& budget);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HtmlLayoutBudget* m_previous;
    };

    // Throws Exceeded when the budget in force on this thread is spent; for
    // work that may run long without allocating.
    static void CheckCurrent();

    Verdict State() const { return m_verdict; }
    int64_t PeakBytes() const { return m_peakBytes; }
    std::chrono::milliseconds Elapsed() const;

    // Called by the program's allocation functions for every block; false
    // when the block must be refused.
    static bool Admit(void* block);
    static void Release(void* block);

private:
    static constexpr unsigned kClockEvery = 64;

    bool IsSpent();
    // Spent, and no exception already on its way out.
    bool MustRefuse() const;
    void Judge();

    Limits m_limits;
    const std::atomic<bool>* m_abandoned;
    std::chrono::steady_clock::time_point m_start;
    int64_t m_bytes = 0;
    int64_t m_peakBytes = 0;
    unsigned m_allocations = 0;
    Verdict m_verdict = Verdict::Within;
};
