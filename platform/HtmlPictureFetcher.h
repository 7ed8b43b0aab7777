#pragma once
#include "platform/PixelImage.h"

#include <Poco/LRUCache.h>
#include <Poco/SharedPtr.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Downloads and decodes the pictures of the page on show, on two background
// threads, so a page appears at once and its pictures follow. Pictures that
// fail (no answer, not a picture, too large) are remembered as empty images
// and never asked for again while they stay in the cache.
class HtmlPictureFetcher
{
public:
    using Picture = Poco::SharedPtr<PixelImage>;
    // Called on a fetch thread whenever a requested picture has settled.
    using Listener = std::function<void()>;

    static constexpr int kThreadCount = 2;
    static constexpr size_t kMaxPictureBytes = 4 * 1024 * 1024;
    static constexpr int kMaxPictureSide = 4096;
    static constexpr int kTimeoutMs = 8000;
    static constexpr size_t kCacheSize = 64;

    static HtmlPictureFetcher& getInstance();

    HtmlPictureFetcher();
    ~HtmlPictureFetcher();
    HtmlPictureFetcher(const HtmlPictureFetcher&) = delete;
    HtmlPictureFetcher& operator=(const HtmlPictureFetcher&) = delete;

    // The picture when it has settled (an empty image when it failed), else null.
    Picture Find(const std::string& url);
    // Queues an http(s) picture that is neither known nor on its way.
    void Request(const std::string& url);
    // Forgets the pictures still waiting: a new page wants its own first.
    void CancelQueued();
    // Pictures queued or being fetched.
    size_t Pending() const;
    void SetListener(Listener listener);
    // Stops the threads; a fetch in progress ends within its time-out.
    void Stop();

    // Decodes picture bytes unless the picture is larger than the caps.
    static PixelImage Decode(const std::string& bytes);

private:
    void Run();
    bool Take(std::string& url);
    void Settle(const std::string& url, PixelImage picture);
    void StartThreads();

    Poco::LRUCache<std::string, PixelImage> m_cache{kCacheSize};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::string> m_queue;
    std::set<std::string> m_wanted;  // queued or in flight
    Listener m_listener;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
