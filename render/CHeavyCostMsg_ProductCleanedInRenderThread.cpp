#include "render/CHeavyCostMsg_ProductCleanedInRenderThread.h"

CHeavyCostMsg_ProductCleanedInRenderThread::CHeavyCostMsg_ProductCleanedInRenderThread(int searchId,
                                                                                       std::vector<int> positions)
    : CHeavyCostRenderMsg(0, searchId), m_positions(std::move(positions))
{
}

// Never reaches the render thread: PreRender always drops it.
void CHeavyCostMsg_ProductCleanedInRenderThread::Process()
{
}

const char* CHeavyCostMsg_ProductCleanedInRenderThread::GetName() const
{
    return "CHeavyCostMsg_ProductCleanedInRenderThread";
}

bool CHeavyCostMsg_ProductCleanedInRenderThread::PreRender(std::set<int>& preRendered)
{
    for (int position : m_positions)
        preRendered.erase(position);
    return false;
}

bool CHeavyCostMsg_ProductCleanedInRenderThread::Absorb(CHeavyCostRenderMsg& newer)
{
    auto* cleaned = dynamic_cast<CHeavyCostMsg_ProductCleanedInRenderThread*>(&newer);
    if (!cleaned || cleaned->GetSearchID() != m_searchId)
        return false;
    m_positions.insert(m_positions.end(), cleaned->m_positions.begin(), cleaned->m_positions.end());
    return true;
}
