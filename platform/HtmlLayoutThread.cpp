#include "platform/HtmlLayoutThread.h"

#include "platform/HtmlPage.h"
#include "platform/HtmlResourceFetcher.h"
#include "platform/ThreadFaults.h"

#include <chrono>

HtmlLayoutThread& HtmlLayoutThread::getInstance()
{
    static HtmlLayoutThread instance(HtmlResourceFetcher::getInstance());
    return instance;
}

HtmlLayoutThread::HtmlLayoutThread(HtmlResourceFetcher& resources) : m_resources(resources), m_thread("HtmlLayout")
{
    m_resources.SetListener([this] { OnPictureSettled(); });
}

HtmlLayoutThread::~HtmlLayoutThread()
{
    m_resources.SetListener(nullptr);
    Stop();
}

void HtmlLayoutThread::EnsureStarted()
{
    if (m_thread.isRunning())
        return;
    m_stopping = false;
    m_thread.setStackSize(kStackBytes);
    m_thread.start(*this);
}

int HtmlLayoutThread::OpenView()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_currentView = ++m_nextView;
    AbandonWorkInProgress();
    m_work = Work();
    m_links.clear();
    m_frameFresh = false;
    return m_currentView;
}

void HtmlLayoutThread::Load(int view, const std::string& utf8Html, int width, int height)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_currentView)
        return;
    // A new page makes all earlier work on the view pointless.
    AbandonWorkInProgress();
    m_work = Work();
    m_work.load = true;
    m_work.html = utf8Html;
    m_work.width = width;
    m_work.height = height;
    EnsureStarted();
    m_wake.notify_one();
}

void HtmlLayoutThread::ScrollBy(int view, int pixels)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_currentView)
        return;
    m_work.scroll += pixels;
    m_wake.notify_one();
}

void HtmlLayoutThread::Click(int view, int x, int y)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_currentView)
        return;
    m_work.clicks.emplace_back(x, y);
    m_wake.notify_one();
}

void HtmlLayoutThread::CloseView(int view)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_currentView)
        return;
    m_currentView = 0;
    AbandonWorkInProgress();
    m_work = Work();
    m_work.close = true;
    m_frameFresh = false;
    m_links.clear();
    m_wake.notify_one();
}

void HtmlLayoutThread::OnPictureSettled()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_currentView == 0)
        return;
    m_work.relayout = true;
    m_wake.notify_one();
}

bool HtmlLayoutThread::TakeFrame(int view, HtmlFrame& frame)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_frameView || !m_frameFresh)
        return false;
    frame = std::move(m_frame);
    m_frameFresh = false;
    return true;
}

bool HtmlLayoutThread::TakeClickedLink(int view, std::string& url)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (view != m_currentView || m_links.empty())
        return false;
    url = m_links.front();
    m_links.erase(m_links.begin());
    return true;
}

bool HtmlLayoutThread::WaitUntilSettled(int view, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(m_mutex);
    // Pictures settle on other threads, so their count is looked at again
    // every few milliseconds rather than waited for.
    while (view == m_currentView && (m_busy || !m_work.IsEmpty() || m_resources.Pending() > 0)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        m_settled.wait_for(lock, std::chrono::milliseconds(5));
    }
    return true;
}

void HtmlLayoutThread::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_wake.notify_all();
    }
    if (m_thread.isRunning())
        m_thread.join();
    m_page.reset();
}

void HtmlLayoutThread::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_work.IsEmpty(); });
        if (m_stopping)
            return;
        Work work = std::move(m_work);
        m_work = Work();
        const int view = m_currentView;
        m_busy = true;
        m_abandon.store(false, std::memory_order_relaxed);
        lock.unlock();
        std::vector<std::string> links;
        HtmlFrame frame;
        bool drawn = false;
        // A page the layout library cannot handle is dropped; the next one is laid out as usual.
        if (!ThreadFaults::Run("page layout", [&] { drawn = PerformAndDraw(work, links, frame); }))
            m_page.reset();
        lock.lock();
        m_busy = false;
        if (view == m_currentView && view != 0) {
            if (drawn) {
                m_frame = std::move(frame);
                m_frameView = view;
                m_frameFresh = true;
            }
            m_links.insert(m_links.end(), links.begin(), links.end());
        }
        m_settled.notify_all();
    }
}

bool HtmlLayoutThread::PerformAndDraw(Work& work, std::vector<std::string>& links, HtmlFrame& frame)
{
    Perform(work);
    if (!m_page)
        return false;
    links = m_page->TakeClickedLinks();
    if (!work.load && !work.relayout && work.scroll == 0)
        return false;
    frame = HtmlFrame{m_page->Draw(), m_page->ScrollTop(), m_page->ContentHeight()};
    return true;
}

void HtmlLayoutThread::Perform(Work& work)
{
    if (work.close) {
        m_page.reset();
        m_resources.CancelQueued();
        return;
    }
    if (work.load) {
        m_resources.CancelQueued();
        m_page.reset();
        m_page = std::make_unique<HtmlPage>(m_resources, work.width, work.height, &m_abandon);
        m_page->Load(work.html);
    }
    if (!m_page)
        return;
    if (work.relayout && !work.load)
        m_page->Relayout();
    if (work.scroll != 0)
        m_page->ScrollBy(work.scroll);
    for (const auto& click : work.clicks)
        m_page->Click(click.first, click.second);
}
