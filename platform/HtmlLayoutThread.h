#pragma once
#include "platform/HtmlFrame.h"

#include <Poco/Runnable.h>
#include <Poco/Thread.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class HtmlPage;
class HtmlResourceFetcher;

// The one thread that parses, lays out and draws product pages, so that the
// render thread never waits for a page: it posts what the user did and picks
// up finished frames. Only the newest view's page is kept; work for older
// views is dropped, and a layout still running for a page that a newer one
// replaces is abandoned within milliseconds. The stack is large because the engine recurses once per
// nesting level of a page.
class HtmlLayoutThread : private Poco::Runnable
{
public:
    static constexpr int kStackBytes = 8 * 1024 * 1024;

    static HtmlLayoutThread& getInstance();

    explicit HtmlLayoutThread(HtmlResourceFetcher& resources);
    ~HtmlLayoutThread() override;
    HtmlLayoutThread(const HtmlLayoutThread&) = delete;
    HtmlLayoutThread& operator=(const HtmlLayoutThread&) = delete;

    // A new view id; its page replaces whatever page was shown.
    int OpenView();
    void Load(int view, const std::string& utf8Html, int width, int height);
    void ScrollBy(int view, int pixels);
    void Click(int view, int x, int y);
    void CloseView(int view);

    // The newest frame of the view, once per frame drawn.
    bool TakeFrame(int view, HtmlFrame& frame);
    bool TakeClickedLink(int view, std::string& url);
    // Waits until the view's page and its pictures are all drawn; false on
    // time-out. For tests and measurements.
    bool WaitUntilSettled(int view, int timeoutMs);

    // Ends the thread; later requests start it again.
    void Stop();

private:
    struct Work
    {
        bool load = false;
        std::string html;
        int width = 0;
        int height = 0;
        int scroll = 0;
        std::vector<std::pair<int, int>> clicks;
        bool relayout = false;
        bool close = false;

        bool IsEmpty() const { return !load && scroll == 0 && clicks.empty() && !relayout && !close; }
    };

    void run() override;
    // Called with the lock held whenever the work in progress is made
    // pointless by a newer page or a closed view.
    void AbandonWorkInProgress() { m_abandon.store(true, std::memory_order_relaxed); }
    void EnsureStarted();
    void OnPictureSettled();
    void Perform(Work& work);
    // False when there is no page or nothing to draw.
    bool PerformAndDraw(Work& work, std::vector<std::string>& links, HtmlFrame& frame);

    HtmlResourceFetcher& m_resources;
    Poco::Thread m_thread;
    std::unique_ptr<HtmlPage> m_page;  // layout thread only

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    bool m_stopping = false;
    bool m_busy = false;
    std::atomic<bool> m_abandon{false};
    int m_nextView = 0;
    int m_currentView = 0;
    Work m_work;
    HtmlFrame m_frame;
    int m_frameView = 0;
    bool m_frameFresh = false;
    std::vector<std::string> m_links;
};
