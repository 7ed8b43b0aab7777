#include "render/CRenderWorker.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/ThreadFaults.h"
#include "platform/Ticks.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CWallView.h"

CRenderWorker& CRenderWorker::getInstance()
{
    static CRenderWorker instance;
    return instance;
}

CRenderWorker::CRenderWorker(Clock now, Sleeper sleep)
    : m_now(now ? std::move(now) : Clock(&GetTickCount)), m_sleep(sleep ? std::move(sleep) : Sleeper(&::Sleep))
{
    // Whatever the thread uses must outlive it: touching them here makes the
    // process destroy them after this object.
    CQX_GlobalVariable::getInstance();
    CWallView::getInstance();
}

CRenderWorker::~CRenderWorker()
{
    Stop();
}

void CRenderWorker::Start()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&CRenderWorker::renderWorkerThread, this);
}

void CRenderWorker::Stop()
{
    m_stopping.store(true);
    if (!m_thread.joinable())
        return;
    CHeavyCostRenderMsgQueue::getInstance().Wake();
    m_thread.join();
}

bool CRenderWorker::IsStopping() const
{
    return m_stopping.load() || CQX_GlobalVariable::getInstance().IsQuitting();
}

void CRenderWorker::renderWorkerThread()
{
    while (RunOnce()) {
    }
}

bool CRenderWorker::RunOnce()
{
    WaitUntilReady();
    bool goOn = true;
    ThreadFaults::Run("render worker", [&] { goOn = !IsStopping() && PreRenderNext(); });
    return goOn && !IsStopping();
}

bool CRenderWorker::IsUserBusy() const
{
    return TickBefore(m_now(), CQX_GlobalVariable::getInstance().GetBusyUntil());
}

bool CRenderWorker::IsWallResting()
{
    const double speed = CWallView::getInstance().ScrollVelocity();
    return -kRestingSpeed < speed && speed < kRestingSpeed;
}

void CRenderWorker::WaitUntilReady()
{
    for (int polls = 0; !IsStopping(); ++polls) {
        const bool inputCounts = polls < kInputPolls;
        if (IsWallResting() && !(inputCounts && IsUserBusy()))
            return;
        m_sleep(kReadinessPollMs);
    }
}

bool CRenderWorker::PreRenderNext()
{
    CHeavyCostRenderMsgQueue::Msg msg = CHeavyCostRenderMsgQueue::getInstance().Pop();
    if (IsStopping())
        return false;
    if (!msg)
        return true;
    if (msg->GetSearchID() > m_lastSearchId) {
        m_preRendered.clear();
        m_lastSearchId = msg->GetSearchID();
    }
    if (msg->PreRender(m_preRendered))
        CRenderMsgQueue::getInstance().PushNormalMsg(std::move(msg));
    return true;
}
