#pragma once
#include "download/CTaobaoDownloader.h"
#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/PlatformWindow.h"
#include "platform/RenderDevice.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderDeviceLock.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderWorker.h"
#include "render/CWallView.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/taobao/StoreDirectory.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The download pipeline as the program runs it against the local market:
// the product and picture threads, the render worker and the real wall, with
// the caller's thread as the render thread. The device is never shown: card
// textures keep their pixels until a frame draws them, so no display is
// needed. Header only, so benchmarks can use it too.
class PipelineHarness
{
public:
    static constexpr int kSearchModeId = 0;

    PipelineHarness()
    {
        std::filesystem::create_directories("../datafiles/img");
        CProductWall::getInstance().ClearCards();
        CQX_GlobalVariable::getInstance().SetCurrentModeId(kSearchModeId);
        {
            CRenderDeviceLock::Scoped lock;
            CQX_GlobalVariable::getInstance().SetDevice(&m_device);
        }
        m_worker.Start();
    }

    ~PipelineHarness()
    {
        Stop();
        CRenderMsgQueue::getInstance().Clear();
        CHeavyCostRenderMsgQueue::getInstance().Clear();
        CProductWall::getInstance().ClearCards();
        CRenderDeviceLock::Scoped lock;
        CQX_GlobalVariable::getInstance().SetDevice(nullptr);
    }

    PipelineHarness(const PipelineHarness&) = delete;
    PipelineHarness& operator=(const PipelineHarness&) = delete;

    // What a new keyword search does on the render thread, then the wall's
    // request for the given positions.
    void Search(const std::string& keyword, const std::vector<int>& positions)
    {
        CQX_GlobalVariable::getInstance().SearchIDChange();
        CProductWall::getInstance().ClearCards();
        m_downloader.downloadProducts({});
        CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
        CTaobaoSearchParams search;
        search.keyword = keyword;
        store.setSearch(search);
        store.setBrowseSource(CTaobaoDataStore::ItemsSearch);
        store.resetBrowseData(1);
        // As the search bar does: work begun under the first new id, before
        // the old browse was forgotten, is dropped too.
        CQX_GlobalVariable::getInstance().SearchIDChange();
        m_downloader.downloadProducts(positions);
    }

    // What the wall publishes when the given position is the first visible
    // one: positions far from it are not worked on.
    void ViewFrom(int first, double velocity = 0) { CWallView::getInstance().Publish(first, 8, velocity); }

    // One idle call of the render thread: at most one message.
    bool ProcessOneMessage() { return CRenderMsgQueue::getInstance().ProcessNextMsg(); }

    // Runs the render thread's idle work until done() holds; false when it
    // did not within the bound.
    bool ProcessUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(30))
    {
        const auto end = std::chrono::steady_clock::now() + bound;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            if (!ProcessOneMessage())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // Every position in [first, first + count) shows a real card.
    bool WallShows(int first, int count) const
    {
        for (int position = first; position < first + count; ++position) {
            if (!CProductWall::getInstance().HasCard(position))
                return false;
        }
        return true;
    }

    // Stops every thread of the pipeline; true when none is left running.
    bool Stop()
    {
        m_worker.Stop();
        m_downloader.Stop();
        return !m_worker.IsRunning() && !m_downloader.IsRunning();
    }

    CTaobaoDownloader& Downloader() { return m_downloader; }
    CTaobaoImageDownloader& Images() { return m_images; }

private:
    StoreDirectory m_directory;
    PlatformWindow m_window;
    RenderDevice m_device{m_window};
    CTaobaoImageDownloader m_images;
    CTaobaoDownloader m_downloader{m_images};
    CRenderWorker m_worker;
};
