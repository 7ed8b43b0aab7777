#include "download/CTaobaoImageDownloader.h"
#include "tests/download/Eventually.h"
#include "tests/download/MarketPicture.h"
#include "tests/support/CapturedLog.h"
#include "tests/taobao/TempDir.h"
#include "taobao/CTaobaoProductInfo.h"

#include <Poco/Event.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <vector>

namespace {

class ImageDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override { LocalMarket::instance().reset(); }
    void TearDown() override { LocalMarket::instance().reset(); }

    CImageRequest RequestFor(const std::string& url, const std::string& file)
    {
        CImageRequest request;
        request.url = url;
        request.localPath = m_dir.file(file);
        return request;
    }

    // Where the picture ended up: the local file, or the placeholder.
    std::string Download(const std::string& url, const std::string& file)
    {
        CImageRequest request = RequestFor(url, file);
        EXPECT_TRUE(CTaobaoImageDownloader::downloadImageImpl(request));
        return request.localPath;
    }

    static void Inject(market::Fault fault)
    {
        market::FaultSettings settings;
        settings.fault = fault;
        settings.scope = market::FaultScope::Pictures;
        LocalMarket::instance().server().setFaults(settings);
    }

    TempDir m_dir;
};

TEST_F(ImageDownloadTest, ABodyOfAtMost1024BytesIsThePlaceholderAndLongerOnesAreWrittenExactly)
{
    MarketPicture stub(1, 1024);
    EXPECT_EQ(Download(stub.url(), "stub.jpg"), kNoPicturePath);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("stub.jpg")));

    MarketPicture picture(2, 1025);
    EXPECT_EQ(Download(picture.url(), "picture.jpg"), m_dir.file("picture.jpg"));
    EXPECT_EQ(TempDir::read(m_dir.file("picture.jpg")), picture.bytes());
}

TEST_F(ImageDownloadTest, APictureLargerThanTheBufferIsCutAt524288Bytes)
{
    MarketPicture large(3, 600 * 1024);
    const std::string saved = TempDir::read(Download(large.url(), "large.jpg"));
    EXPECT_EQ(saved.size(), 524288u);
    EXPECT_EQ(saved, large.bytes().substr(0, 524288));
}

TEST_F(ImageDownloadTest, BodiesThatNeverEndAreCutOrGivenUpInTime)
{
    MarketPicture picture(7, 4000);
    Inject(market::Fault::EndlessBody);
    const auto endlessStarted = std::chrono::steady_clock::now();
    EXPECT_EQ(Download(picture.url(), "endless.jpg"), kNoPicturePath) << "cut at the buffer, and no picture";
    EXPECT_LT(std::chrono::steady_clock::now() - endlessStarted, std::chrono::seconds(5));

    CTaobaoImageDownloader::SetBodyTimeLimit(std::chrono::milliseconds(300));
    Inject(market::Fault::TrickleBody);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Download(picture.url(), "trickle.jpg"), kNoPicturePath);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    CTaobaoImageDownloader::SetBodyTimeLimit(std::chrono::seconds(20));
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("trickle.jpg")));
}

TEST_F(ImageDownloadTest, AnExistingFileIsReplacedNotAppendedTo)
{
    TempDir::write(m_dir.file("old.jpg"), std::string(5000, 'x'));
    MarketPicture picture(4, 2000);
    Download(picture.url(), "old.jpg");
    EXPECT_EQ(TempDir::read(m_dir.file("old.jpg")), picture.bytes());
}

// The picture of a few kilobytes that would take gigabytes once decoded, and
// a picture of a format no card shows, are the placeholder: neither is kept.
TEST_F(ImageDownloadTest, APictureIsJudgedByItsHeaderBeforeItIsKept)
{
    CapturedLog log;
    std::string bomb = MarketPicture(11, 4000).bytes();
    const size_t frame = bomb.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    bomb[frame + 5] = bomb[frame + 6] = bomb[frame + 7] = bomb[frame + 8] = '\xEA';  // 60138 x 60138
    MarketPicture announced(12, bomb);
    EXPECT_EQ(Download(announced.url(), "bomb.jpg"), kNoPicturePath);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("bomb.jpg")));
    EXPECT_NE(log.Text().find("not a picture a card shows (JPEG 60138x60138)"), std::string::npos) << log.Text();

    std::string bitmap(2048, '\0');
    bitmap.replace(0, 2, "BM");
    bitmap[14] = 40;                                   // a BITMAPINFOHEADER
    bitmap[18] = 8, bitmap[22] = 8, bitmap[26] = 1, bitmap[28] = 24;
    MarketPicture otherFormat(13, bitmap);
    EXPECT_EQ(Download(otherFormat.url(), "bitmap.jpg"), kNoPicturePath);
    EXPECT_NE(log.Text().find("not a picture a card shows (another format 8x8)"), std::string::npos) << log.Text();
}

TEST_F(ImageDownloadTest, AnErrorStatusIsAFailedDownloadWhateverItsBodyLength)
{
    MarketPicture picture(5, 4000);
    Inject(market::Fault::ErrorPage);
    EXPECT_EQ(Download(picture.url(), "missing.jpg"), kNoPicturePath);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("missing.jpg")));
    Inject(market::Fault::Http500);
    EXPECT_EQ(Download(picture.url(), "error.jpg"), kNoPicturePath);

    LocalMarket::instance().reset();
    EXPECT_EQ(TempDir::read(Download(picture.url(), "fine.jpg")), picture.bytes());
}

TEST_F(ImageDownloadTest, NetworkFailuresAndBadAddressesEndInThePlaceholder)
{
    MarketPicture picture(6, 4000);
    Inject(market::Fault::DropConnection);
    EXPECT_EQ(Download(picture.url(), "dropped.jpg"), kNoPicturePath);
    Inject(market::Fault::ShortPicture);
    EXPECT_EQ(Download(LocalMarket::instance().serviceUrl() + "/pic/item/1.jpg_b.jpg", "short.jpg"), kNoPicturePath);
    LocalMarket::instance().reset();

    for (const char* url : {"http://127.0.0.1:1/pic.jpg", "not a url at all", "ftp://127.0.0.1/x.jpg", ""})
        EXPECT_EQ(Download(url, "bad.jpg"), kNoPicturePath) << url;
    EXPECT_EQ(Download(picture.url(), "no-such-dir/picture.jpg"), kNoPicturePath);
}

// A latch the test opens; callbacks that wait on it keep a thread busy.
class Gate
{
public:
    void Open() { m_open.set(); }
    void Pass() { m_open.wait(); }

private:
    Poco::Event m_open{Poco::Event::EVENT_MANUALRESET};
};

// Records which requests reached which callback.
class Calls
{
public:
    void Add(std::vector<int>& list, int position)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        list.push_back(position);
    }
    std::vector<int> Pre() const { return Copy(m_pre); }
    std::vector<int> Post() const { return Copy(m_post); }
    size_t PostCount() const { return Post().size(); }

    std::vector<int> m_pre;
    std::vector<int> m_post;

private:
    std::vector<int> Copy(const std::vector<int>& list) const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return list;
    }
    mutable std::mutex m_lock;
};

class ImageThreadsTest : public ImageDownloadTest
{
protected:
    ~ImageThreadsTest() override { m_gate.Open(); }

    CImageRequest Request(int position, int preResult)
    {
        CImageRequest request = RequestFor(m_picture.url(), std::to_string(position) + ".jpg");
        request.position = position;
        request.preDownload = [this, preResult](CImageRequest& r) {
            m_calls.Add(m_calls.m_pre, r.position);
            return preResult;
        };
        request.postDownload = [this](CImageRequest& r) {
            m_calls.Add(m_calls.m_post, r.position);
            return 1;
        };
        return request;
    }

    // A request whose pre-download callback keeps its thread until the gate opens.
    CImageRequest HeldRequest(int position)
    {
        CImageRequest request = Request(position, CImageRequest::SkipDownload);
        request.preDownload = [this](CImageRequest& r) {
            m_calls.Add(m_calls.m_pre, r.position);
            m_gate.Pass();
            return int(CImageRequest::SkipDownload);
        };
        return request;
    }

    // Both threads busy in a held request.
    void HoldBothThreads()
    {
        m_images.PushRequest(HeldRequest(100));
        m_images.PushRequest(HeldRequest(101));
        ASSERT_TRUE(Eventually([&] { return m_calls.Pre().size() == 2; }));
    }

    MarketPicture m_picture{10, 3000};
    Gate m_gate;
    Calls m_calls;
    CTaobaoImageDownloader m_images;
};

TEST_F(ImageThreadsTest, ThePreDownloadAnswerDecidesWhetherThePictureIsFetched)
{
    const int64_t before = LocalMarket::instance().server().pictureRequestCount();
    m_images.PushRequest(Request(1, CImageRequest::Drop));
    m_images.PushRequest(Request(2, CImageRequest::SkipDownload));
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 1; }));
    EXPECT_EQ(m_calls.Post(), std::vector<int>{2});
    EXPECT_EQ(LocalMarket::instance().server().pictureRequestCount(), before) << "no download was asked for";

    m_images.PushRequest(Request(3, CImageRequest::Download));
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 2; }));
    EXPECT_EQ(TempDir::read(m_dir.file("3.jpg")), m_picture.bytes());
    EXPECT_EQ(LocalMarket::instance().server().pictureRequestCount(), before + 1);

    CImageRequest plain = Request(4, 0);
    plain.preDownload = nullptr;
    m_images.PushRequest(plain);
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 3; }));
    EXPECT_EQ(TempDir::read(m_dir.file("4.jpg")), m_picture.bytes());
    std::vector<int> asked = m_calls.Pre();
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3})) << "every request with a pre-download callback was asked";
}

TEST_F(ImageThreadsTest, RequestsWithoutAPostDownloadCallbackAreIgnoredAndClearDropsPendingOnes)
{
    HoldBothThreads();
    CImageRequest orphan = Request(7, CImageRequest::SkipDownload);
    orphan.postDownload = nullptr;
    m_images.PushRequest(orphan);
    EXPECT_EQ(m_images.PendingRequests(), 0u);

    for (int position : {8, 9, 10})
        m_images.PushRequest(Request(position, CImageRequest::SkipDownload));
    EXPECT_EQ(m_images.PendingRequests(), 3u);
    m_images.ClearRequests();
    EXPECT_EQ(m_images.PendingRequests(), 0u);

    m_gate.Open();
    m_images.PushRequest(Request(11, CImageRequest::SkipDownload));
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 3; }));
    std::vector<int> served = m_calls.Post();
    std::sort(served.begin(), served.end());
    EXPECT_EQ(served, (std::vector<int>{11, 100, 101}));
}

TEST_F(ImageThreadsTest, ARequestForTheItemTheOtherThreadIsFetchingIsDropped)
{
    m_images.PushRequest(HeldRequest(5));
    ASSERT_TRUE(Eventually([&] { return m_calls.Pre().size() == 1; }));
    m_images.PushRequest(Request(5, CImageRequest::SkipDownload));
    m_images.PushRequest(Request(6, CImageRequest::SkipDownload));
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 1; }));
    EXPECT_EQ(m_calls.Post(), std::vector<int>{6});
    m_gate.Open();
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 2; }));
    EXPECT_EQ(m_calls.Pre(), (std::vector<int>{5, 6}));
}

TEST_F(ImageThreadsTest, TheSamePositionOfANewerSearchIsAnotherItemAndIsFetched)
{
    m_images.PushRequest(HeldRequest(5));
    ASSERT_TRUE(Eventually([&] { return m_calls.Pre().size() == 1; }));
    CImageRequest newer = Request(5, CImageRequest::SkipDownload);
    newer.searchId = 1;
    m_images.PushRequest(newer);
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 1; }));
    EXPECT_EQ(m_calls.Post(), std::vector<int>{5});
}

TEST_F(ImageThreadsTest, ACountOfZeroHoldsBothThreadsAndTwoReleasesThem)
{
    m_images.SetActiveThreadCount(0);
    for (int position = 1; position <= 4; ++position)
        m_images.PushRequest(Request(position, CImageRequest::SkipDownload));
    ASSERT_TRUE(Eventually([&] { return m_images.WaitingThreadCount() == 2; }));
    EXPECT_TRUE(m_calls.Pre().empty());
    EXPECT_EQ(m_images.PendingRequests(), 2u);

    m_images.SetActiveThreadCount(2);
    ASSERT_TRUE(Eventually([&] { return m_calls.PostCount() == 4; }));
    EXPECT_EQ(m_images.WaitingThreadCount(), 0);
}

TEST_F(ImageThreadsTest, StoppingEndsThreadsThatWaitForWorkOrForTheThrottle)
{
    m_images.SetActiveThreadCount(0);
    m_images.PushRequest(Request(1, CImageRequest::SkipDownload));
    ASSERT_TRUE(Eventually([&] { return m_images.WaitingThreadCount() == 1; }));
    m_images.Stop();
    EXPECT_FALSE(m_images.IsRunning());
    EXPECT_TRUE(m_calls.Pre().empty()) << "a stopping thread starts no new work";
    m_images.Stop();
}

}
