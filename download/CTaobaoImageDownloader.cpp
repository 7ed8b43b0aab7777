#include "download/CTaobaoImageDownloader.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/AppFolders.h"
#include "platform/BoundedBodyReader.h"
#include "platform/HttpSessionFactory.h"
#include "platform/Log.h"
#include "platform/NetworkFailure.h"
#include "platform/PictureHeader.h"
#include "platform/SessionInterrupter.h"
#include "platform/ThreadFaults.h"
#include "taobao/CTaobaoProductInfo.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/URI.h>

#include <fstream>
#include <memory>

CTaobaoImageDownloader& CTaobaoImageDownloader::getInstance()
{
    static CTaobaoImageDownloader instance;
    return instance;
}

CTaobaoImageDownloader::CTaobaoImageDownloader()
{
    // The threads read the global state: it must outlive them.
    CQX_GlobalVariable::getInstance();
    for (int i = 0; i < kThreadCount; ++i)
        m_threads[i].thread = std::thread(&CTaobaoImageDownloader::downloadThread, this, i);
}

CTaobaoImageDownloader::~CTaobaoImageDownloader()
{
    Stop();
}

void CTaobaoImageDownloader::Stop()
{
    m_stopping.store(true);
    for (ThreadState& state : m_threads) {
        state.wake.set();
        state.resume.set();
    }
    for (ThreadState& state : m_threads) {
        if (state.thread.joinable())
            state.thread.join();
    }
}

bool CTaobaoImageDownloader::IsRunning() const
{
    for (const ThreadState& state : m_threads) {
        if (state.thread.joinable())
            return true;
    }
    return false;
}

bool CTaobaoImageDownloader::IsStopping() const
{
    return m_stopping.load() || CQX_GlobalVariable::getInstance().IsQuitting();
}

void CTaobaoImageDownloader::PushRequest(const CImageRequest& request)
{
    if (!request.postDownload)
        return;
    m_requests.PushBack(request);
    for (ThreadState& state : m_threads)
        state.wake.set();
}

void CTaobaoImageDownloader::ClearRequests()
{
    m_requests.Clear();
}

size_t CTaobaoImageDownloader::PendingRequests() const
{
    return m_requests.Size();
}

void CTaobaoImageDownloader::SetActiveThreadCount(int count)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_activeThreadCount = count;
    if (count > 0)
        m_threads[0].resume.set();
    if (count > 1)
        m_threads[1].resume.set();
}

int CTaobaoImageDownloader::GetActiveThreadCount() const
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    return m_activeThreadCount;
}

int CTaobaoImageDownloader::WaitingThreadCount() const
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    int waiting = 0;
    for (const ThreadState& state : m_threads)
        waiting += state.waiting ? 1 : 0;
    return waiting;
}

void CTaobaoImageDownloader::downloadThread(int index)
{
    ThreadState& self = m_threads[index];
    while (!IsStopping()) {
        self.wake.wait();
        CImageRequest request;
        while (!IsStopping() && m_requests.Take(request)) {
            if (!ClaimItem(index, request))
                continue;
            WaitForTurn(index);
            if (!IsStopping())
                ThreadFaults::Run("pictures", [&request] { Serve(request); });
            ReleasePosition(index);
        }
    }
}

// The same item is never downloaded twice at once: a request for the item
// the other thread is busy with is dropped. An item is a position of one
// search: the same position of a newer search is another product, which
// dropping would leave without its card.
bool CTaobaoImageDownloader::ClaimItem(int index, const CImageRequest& request)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    for (const ThreadState& state : m_threads) {
        if (state.position == request.position && state.searchId == request.searchId)
            return false;
    }
    m_threads[index].position = request.position;
    m_threads[index].searchId = request.searchId;
    return true;
}

void CTaobaoImageDownloader::ReleasePosition(int index)
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_threads[index].position = -1;
}

// Thread i runs while more than i threads are allowed; otherwise it waits to
// be resumed and then goes on without looking at the count again.
void CTaobaoImageDownloader::WaitForTurn(int index)
{
    ThreadState& self = m_threads[index];
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        if (m_activeThreadCount > index)
            return;
        self.waiting = true;
    }
    self.resume.wait();
    std::lock_guard<std::mutex> guard(m_stateLock);
    self.waiting = false;
}

void CTaobaoImageDownloader::Serve(CImageRequest& request)
{
    const int decision = request.preDownload ? request.preDownload(request) : CImageRequest::Download;
    if (decision == CImageRequest::Download)
        downloadImageImpl(request);
    if (decision == CImageRequest::Download || decision == CImageRequest::SkipDownload)
        request.postDownload(request);
}

namespace {

bool IsSuccessStatus(int status)
{
    return status >= 200 && status <= 299;
}

std::atomic<std::chrono::milliseconds::rep> g_bodyTimeLimitMs{20000};

// A picture larger than the buffer is cut at the buffer's size; one that is
// still arriving after the time limit is no picture.
bool ReadPicture(std::istream& in, std::string& bytes)
{
    const size_t cap = CTaobaoImageDownloader::kMaxPictureBytes;
    const BoundedBodyReader reader({cap, std::chrono::milliseconds(g_bodyTimeLimitMs.load())});
    const bool whole = reader.Read(in, bytes);
    if (bytes.size() <= cap)
        return whole;
    bytes.resize(cap);
    return true;
}

// A cache file that cannot be written costs the picture, not the user's data.
bool WriteFile(const std::string& name, const std::string& bytes)
{
    const std::string path = AppFolders::Resolve(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out.flush())
        return true;
    Log::Warning("could not write the picture cache file " + path);
    return false;
}

// Why the picture's answer is no picture; "" when it is one.
std::string Refusal(bool whole, int status, size_t size)
{
    if (!whole)
        return "answer past its time limit";
    if (!IsSuccessStatus(status))
        return NetworkFailure::Status(status);
    if (size < CTaobaoImageDownloader::kMinPictureBytes)
        return "not a picture (" + std::to_string(size) + " bytes)";
    return std::string();
}

// Only a JPEG, PNG or GIF of a sensible size ever reaches the decoder.
std::string PictureRefusal(const std::string& bytes)
{
    const PictureHeader header = PictureHeader::Read(bytes);
    if (header.IsCardPicture(CTaobaoImageDownloader::kMaxPicturePixels))
        return std::string();
    return "not a picture a card shows (" + header.Describe() + ")";
}

}

void CTaobaoImageDownloader::SetBodyTimeLimit(std::chrono::milliseconds limit)
{
    g_bodyTimeLimitMs.store(limit.count());
}

// An error page is never saved as a picture: a status outside 2xx counts as
// a failed download, whatever the length of its body.
bool CTaobaoImageDownloader::downloadImageImpl(CImageRequest& request)
{
    try {
        Poco::URI uri(request.url);
        const std::unique_ptr<Poco::Net::HTTPClientSession> session = HttpSessionFactory::Open(uri);
        session->setTimeout(Poco::Timespan(kTimeoutSeconds, 0));
        std::string target = uri.getPathAndQuery();
        if (target.empty())
            target = "/";
        Poco::Net::HTTPRequest get(Poco::Net::HTTPRequest::HTTP_GET, target, Poco::Net::HTTPMessage::HTTP_1_1);
        session->sendRequest(get);
        const SessionInterrupter::Waiting waiting(*session);
        Poco::Net::HTTPResponse response;
        std::istream& in = session->receiveResponse(response);
        std::string bytes;
        const bool whole = ReadPicture(in, bytes);
        std::string refusal = Refusal(whole, response.getStatus(), bytes.size());
        if (refusal.empty())
            refusal = PictureRefusal(bytes);
        if (refusal.empty() && WriteFile(request.localPath, bytes))
            return true;
        if (!refusal.empty())
            NetworkFailure::Report("picture", request.url, refusal);
    } catch (const std::exception& failure) {
        NetworkFailure::Report("picture", request.url, NetworkFailure::Reason(failure));
    }
    request.localPath = kNoPicturePath;
    return true;
}
