#include "mainwnd/CQX_GlobalVariable.h"

#include <ctime>

CQX_GlobalVariable& CQX_GlobalVariable::getInstance()
{
    static CQX_GlobalVariable instance;
    return instance;
}

CQX_GlobalVariable::CQX_GlobalVariable()
    : m_startTime(static_cast<uint32_t>(std::time(nullptr)))
{
}

void CQX_GlobalVariable::AddSearchWord(const std::string& word)
{
    if (m_searchWordSet.size() >= kMaxSearchWords || m_searchWordSet.count(word))
        return;
    m_searchWordSet.insert(word);
    m_searchWords += word;
    m_searchWords += '-';
}

void CQX_GlobalVariable::IncAction(int index)
{
    if (index >= 0 && index < kActionCounterCount)
        bump(m_actionCounters[index]);
}

uint32_t CQX_GlobalVariable::GetActionCounter(int index) const
{
    if (index < 0 || index >= kActionCounterCount)
        return 0;
    return m_actionCounters[index].load(std::memory_order_relaxed);
}
