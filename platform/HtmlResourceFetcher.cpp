#include "platform/HtmlResourceFetcher.h"

#include "platform/HtmlPageSanitizer.h"
#include "platform/HtmlResourceLoader.h"
#include "platform/PictureHeader.h"
#include "platform/ThreadFaults.h"

namespace {

// Judged by its header alone: a small file can announce a picture of
// gigabytes once decoded.
bool HasAcceptableSize(const std::string& bytes)
{
    const PictureHeader header = PictureHeader::Read(bytes);
    const auto side = static_cast<uint32_t>(HtmlResourceFetcher::kMaxPictureSide);
    return header.width > 0 && header.height > 0 && header.width <= side && header.height <= side;
}

}

HtmlResourceFetcher& HtmlResourceFetcher::getInstance()
{
    static HtmlResourceFetcher instance;
    return instance;
}

HtmlResourceFetcher::HtmlResourceFetcher() = default;

HtmlResourceFetcher::~HtmlResourceFetcher()
{
    Stop();
}

PixelImage HtmlResourceFetcher::Decode(const std::string& bytes)
{
    if (bytes.empty() || bytes.size() > kMaxPictureBytes || !HasAcceptableSize(bytes))
        return PixelImage();
    return PixelImage::LoadMemory(bytes.data(), bytes.size());
}

HtmlResourceFetcher::Picture HtmlResourceFetcher::FindPicture(const std::string& url)
{
    return m_pictures.get(url);
}

HtmlResourceFetcher::StyleSheet HtmlResourceFetcher::FindStyleSheet(const std::string& url)
{
    return m_styleSheets.get(url);
}

bool HtmlResourceFetcher::IsKnown(const Wanted& wanted)
{
    return wanted.first == Kind::Picture ? m_pictures.has(wanted.second) : m_styleSheets.has(wanted.second);
}

void HtmlResourceFetcher::Request(Kind kind, const std::string& url)
{
    const Wanted wanted(kind, url);
    if (HtmlResourceLoader::Resolve(url).empty() || IsKnown(wanted))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping || !m_wanted.insert(wanted).second)
        return;
    m_queue.push_back(wanted);
    StartThreads();
    m_wake.notify_one();
}

void HtmlResourceFetcher::StartThreads()
{
    while (m_threads.size() < static_cast<size_t>(kThreadCount))
        m_threads.emplace_back(&HtmlResourceFetcher::Run, this);
}

void HtmlResourceFetcher::CancelQueued()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Wanted& wanted : m_queue)
        m_wanted.erase(wanted);
    m_queue.clear();
}

size_t HtmlResourceFetcher::Pending() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wanted.size();
}

void HtmlResourceFetcher::SetListener(Listener listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listener = std::move(listener);
}

void HtmlResourceFetcher::Stop()
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

bool HtmlResourceFetcher::Take(Wanted& wanted)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    if (m_stopping)
        return false;
    wanted = m_queue.front();
    m_queue.pop_front();
    return true;
}

void HtmlResourceFetcher::Run()
{
    Wanted wanted;
    while (Take(wanted)) {
        ThreadFaults::Run("page resources", [&] { Fetch(wanted); });
        Settle(wanted);
    }
}

void HtmlResourceFetcher::Fetch(const Wanted& wanted)
{
    const bool picture = wanted.first == Kind::Picture;
    std::string bytes;
    if (!HtmlResourceLoader::Fetch(wanted.second, picture ? kMaxPictureBytes : kMaxStyleSheetBytes,
                                   picture ? kPictureTimeoutMs : kStyleSheetTimeoutMs, bytes))
        bytes.clear();
    Remember(wanted, bytes);
}

// Empty bytes are a failure, remembered as an empty resource.
void HtmlResourceFetcher::Remember(const Wanted& wanted, const std::string& bytes)
{
    if (wanted.first == Kind::Picture)
        m_pictures.add(wanted.second, Decode(bytes));
    else
        m_styleSheets.add(wanted.second, HtmlPageSanitizer::ValidUtf8(bytes));
}

void HtmlResourceFetcher::Settle(const Wanted& wanted)
{
    // A fetch that failed on a fault is remembered as failed all the same.
    if (!IsKnown(wanted))
        Remember(wanted, std::string());
    Listener listener;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        listener = m_listener;
    }
    // The listener hears of the resource before it stops counting as
    // pending, so whoever waits for nothing pending also sees the redraw it
    // causes.
    if (listener)
        listener();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted.erase(wanted);
}
