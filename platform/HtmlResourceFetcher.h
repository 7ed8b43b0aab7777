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
#include <utility>
#include <vector>

// Downloads what the page on show refers to, on two background threads, so
// that a page appears at once and its pictures and style sheets follow:
// pictures decoded, style sheets as valid UTF-8 text. What fails (no answer,
// not a picture, too large) is remembered as empty and never asked for again
// while it stays in the cache.
class HtmlResourceFetcher
{
public:
    using Picture = Poco::SharedPtr<PixelImage>;
    using StyleSheet = Poco::SharedPtr<std::string>;
    // Called on a fetch thread whenever a requested resource has settled.
    using Listener = std::function<void()>;

    enum class Kind
    {
        Picture,
        StyleSheet
    };

    static constexpr int kThreadCount = 2;
    static constexpr size_t kMaxPictureBytes = 4 * 1024 * 1024;
    static constexpr int kMaxPictureSide = 4096;
    static constexpr int kPictureTimeoutMs = 8000;
    static constexpr size_t kMaxStyleSheetBytes = 256 * 1024;
    static constexpr int kStyleSheetTimeoutMs = 3000;
    static constexpr size_t kCacheSize = 64;

    static HtmlResourceFetcher& getInstance();

    HtmlResourceFetcher();
    ~HtmlResourceFetcher();
    HtmlResourceFetcher(const HtmlResourceFetcher&) = delete;
    HtmlResourceFetcher& operator=(const HtmlResourceFetcher&) = delete;

    // The resource when it has settled (empty when it failed), else null.
    Picture FindPicture(const std::string& url);
    StyleSheet FindStyleSheet(const std::string& url);
    // Queues an http(s) resource that is neither known nor on its way.
    void Request(Kind kind, const std::string& url);
    // Forgets what is still waiting: a new page wants its own first.
    void CancelQueued();
    // Resources queued or being fetched.
    size_t Pending() const;
    void SetListener(Listener listener);
    // Stops the threads; a fetch in progress ends within its time-out.
    void Stop();

    // Decodes picture bytes unless the picture is larger than the caps.
    static PixelImage Decode(const std::string& bytes);

private:
    using Wanted = std::pair<Kind, std::string>;

    void Run();
    bool Take(Wanted& wanted);
    bool IsKnown(const Wanted& wanted);
    void Fetch(const Wanted& wanted);
    void Remember(const Wanted& wanted, const std::string& bytes);
    void Settle(const Wanted& wanted);
    void StartThreads();

    Poco::LRUCache<std::string, PixelImage> m_pictures{kCacheSize};
    Poco::LRUCache<std::string, std::string> m_styleSheets{kCacheSize};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Wanted> m_queue;
    std::set<Wanted> m_wanted;  // queued or in flight
    Listener m_listener;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
