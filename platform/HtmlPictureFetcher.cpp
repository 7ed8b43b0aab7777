#include "platform/HtmlPictureFetcher.h"

#include "platform/HtmlResourceLoader.h"
#include "platform/ThreadFaults.h"

#include <FreeImage.h>

namespace {

struct MemoryCloser
{
    void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};

struct BitmapUnloader
{
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

// Reads only the picture's header: a small file can announce a picture of
// gigabytes once decoded.
bool HasAcceptableSize(const std::string& bytes)
{
    std::unique_ptr<FIMEMORY, MemoryCloser> memory(
        FreeImage_OpenMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                             static_cast<DWORD>(bytes.size())));
    if (!memory)
        return false;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory.get(), 0);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return false;
    std::unique_ptr<FIBITMAP, BitmapUnloader> header(
        FreeImage_LoadFromMemory(format, memory.get(), FIF_LOAD_NOPIXELS));
    if (!header)
        return false;
    const unsigned width = FreeImage_GetWidth(header.get());
    const unsigned height = FreeImage_GetHeight(header.get());
    const auto side = static_cast<unsigned>(HtmlPictureFetcher::kMaxPictureSide);
    return width > 0 && height > 0 && width <= side && height <= side;
}

}

HtmlPictureFetcher& HtmlPictureFetcher::getInstance()
{
    static HtmlPictureFetcher instance;
    return instance;
}

HtmlPictureFetcher::HtmlPictureFetcher() = default;

HtmlPictureFetcher::~HtmlPictureFetcher()
{
    Stop();
}

PixelImage HtmlPictureFetcher::Decode(const std::string& bytes)
{
    if (bytes.empty() || bytes.size() > kMaxPictureBytes || !HasAcceptableSize(bytes))
        return PixelImage();
    return PixelImage::LoadMemory(bytes.data(), bytes.size());
}

HtmlPictureFetcher::Picture HtmlPictureFetcher::Find(const std::string& url)
{
    return m_cache.get(url);
}

void HtmlPictureFetcher::Request(const std::string& url)
{
    if (HtmlResourceLoader::Resolve(url).empty() || m_cache.has(url))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping || !m_wanted.insert(url).second)
        return;
    m_queue.push_back(url);
    StartThreads();
    m_wake.notify_one();
}

void HtmlPictureFetcher::StartThreads()
{
    while (m_threads.size() < static_cast<size_t>(kThreadCount))
        m_threads.emplace_back(&HtmlPictureFetcher::Run, this);
}

void HtmlPictureFetcher::CancelQueued()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const std::string& url : m_queue)
        m_wanted.erase(url);
    m_queue.clear();
}

size_t HtmlPictureFetcher::Pending() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wanted.size();
}

void HtmlPictureFetcher::SetListener(Listener listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listener = std::move(listener);
}

void HtmlPictureFetcher::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted.clear();
    m_stopping = false;
}

bool HtmlPictureFetcher::Take(std::string& url)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    if (m_stopping)
        return false;
    url = m_queue.front();
    m_queue.pop_front();
    return true;
}

void HtmlPictureFetcher::Run()
{
    std::string url;
    while (Take(url)) {
        std::string bytes;
        PixelImage picture;
        ThreadFaults::Run("page pictures", [&] {
            if (HtmlResourceLoader::Fetch(url, kMaxPictureBytes, kTimeoutMs, bytes))
                picture = Decode(bytes);
        });
        Settle(url, std::move(picture));
    }
}

void HtmlPictureFetcher::Settle(const std::string& url, PixelImage picture)
{
    m_cache.add(url, picture);
    Listener listener;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        listener = m_listener;
    }
    // The listener hears of the picture before it stops counting as pending,
    // so whoever waits for nothing pending also sees the redraw it causes.
    if (listener)
        listener();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted.erase(url);
}
