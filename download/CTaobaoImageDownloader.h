#pragma once
#include "download/CImageRequest.h"
#include "download/CRequestQueue.h"

#include <Poco/Event.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

// Downloads pictures into local files on two background threads. It knows
// nothing of products: each request's callbacks decide what happens around
// its download. The API client throttles it while a request is in flight:
// with a count of 2 both threads run, with 1 only the first, with 0 none.
class CTaobaoImageDownloader
{
public:
    static constexpr int kThreadCount = 2;
    static constexpr int kTimeoutSeconds = 10;
    static constexpr size_t kMaxPictureBytes = 524288;
    // A body this short is an error page or a missing-picture stub.
    static constexpr size_t kMinPictureBytes = 1025;
    // Far above any product picture; what a header announces beyond it is
    // never decoded.
    static constexpr uint64_t kMaxPicturePixels = 16u * 1024 * 1024;

    static CTaobaoImageDownloader& getInstance();

    // Starts both threads.
    CTaobaoImageDownloader();
    // Stops them.
    ~CTaobaoImageDownloader();
    CTaobaoImageDownloader(const CTaobaoImageDownloader&) = delete;
    CTaobaoImageDownloader& operator=(const CTaobaoImageDownloader&) = delete;

    // Appends a request (ignored without a post-download callback) and wakes both threads.
    void PushRequest(const CImageRequest& request);
    // Drops every request not yet taken by a thread.
    void ClearRequests();
    size_t PendingRequests() const;

    void SetActiveThreadCount(int count);
    int GetActiveThreadCount() const;
    // Threads held back by the throttle right now.
    int WaitingThreadCount() const;

    // Downloads the request's picture into its local path; on any failure
    // the local path becomes the placeholder picture. Always true.
    static bool downloadImageImpl(CImageRequest& request);
    // However its bytes come, a picture still arriving after this long is a
    // failed download (20 s unless a test changes it).
    static void SetBodyTimeLimit(std::chrono::milliseconds limit);

    // Cooperative stop: both threads finish what they are doing and end.
    // Safe to call twice.
    void Stop();
    bool IsRunning() const;

private:
    struct ThreadState
    {
        Poco::Event wake{Poco::Event::EVENT_AUTORESET};
        Poco::Event resume{Poco::Event::EVENT_AUTORESET};
        bool waiting = false;  // guarded by m_stateLock
        int position = -1;     // guarded by m_stateLock, like searchId
        int searchId = 0;
        std::thread thread;
    };

    void downloadThread(int index);
    bool IsStopping() const;
    bool ClaimItem(int index, const CImageRequest& request);
    void ReleasePosition(int index);
    void WaitForTurn(int index);
    static void Serve(CImageRequest& request);

    mutable std::mutex m_stateLock;
    int m_activeThreadCount = kThreadCount;
    CRequestQueue<CImageRequest> m_requests;
    ThreadState m_threads[kThreadCount];
    std::atomic<bool> m_stopping{false};
};
