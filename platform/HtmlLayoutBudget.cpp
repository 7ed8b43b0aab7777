#include "platform/HtmlLayoutBudget.h"

#include <malloc.h>

#include <cstdlib>
#include <exception>

namespace {

thread_local HtmlLayoutBudget* t_budget = nullptr;

int64_t BlockBytes(void* block)
{
    return static_cast<int64_t>(malloc_usable_size(block));
}

}

HtmlLayoutBudget::HtmlLayoutBudget(Limits limits, const std::atomic<bool>* abandoned)
    : m_limits(limits), m_abandoned(abandoned), m_start(std::chrono::steady_clock::now())
{
}

HtmlLayoutBudget::Scope::Scope(HtmlLayoutBudget& budget) : m_previous(t_budget)
{
    t_budget = &budget;
}

HtmlLayoutBudget::Scope::~Scope()
{
    t_budget = m_previous;
}

std::chrono::milliseconds HtmlLayoutBudget::Elapsed() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
}

void HtmlLayoutBudget::Judge()
{
    if (m_verdict != Verdict::Within)
        return;
    if (m_abandoned && m_abandoned->load(std::memory_order_relaxed))
        m_verdict = Verdict::Abandoned;
    else if (m_bytes > m_limits.bytes)
        m_verdict = Verdict::OverMemory;
    else if (Elapsed() > m_limits.time)
        m_verdict = Verdict::OverTime;
}

// Memory is judged on every allocation; the clock and the abandon flag only
// every few, which keeps an allocation's added cost to a few instructions.
bool HtmlLayoutBudget::IsSpent()
{
    if (m_bytes > m_limits.bytes || ++m_allocations % kClockEvery == 0)
        Judge();
    return MustRefuse();
}

bool HtmlLayoutBudget::MustRefuse() const
{
    return m_verdict != Verdict::Within && std::uncaught_exceptions() == 0;
}

void HtmlLayoutBudget::CheckCurrent()
{
    HtmlLayoutBudget* budget = t_budget;
    if (!budget)
        return;
    budget->Judge();
    if (budget->MustRefuse())
        throw Exceeded();
}

bool HtmlLayoutBudget::Admit(void* block)
{
    HtmlLayoutBudget* budget = t_budget;
    if (!budget)
        return true;
    budget->m_bytes += BlockBytes(block);
    if (budget->m_bytes > budget->m_peakBytes)
        budget->m_peakBytes = budget->m_bytes;
    return !budget->IsSpent();
}

void HtmlLayoutBudget::Release(void* block)
{
    if (HtmlLayoutBudget* budget = t_budget; budget && block)
        budget->m_bytes -= BlockBytes(block);
}

// The program's allocation functions, so that a page layout's allocations
// can be counted and refused. The array, sized and no-throw forms of the
// standard library call these.
void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    if (!HtmlLayoutBudget::Admit(block)) {
        HtmlLayoutBudget::Release(block);
        std::free(block);
        throw HtmlLayoutBudget::Exceeded();
    }
    return block;
}

void operator delete(void* block) noexcept
{
    HtmlLayoutBudget::Release(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}
