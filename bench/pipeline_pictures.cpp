// Picture throughput of the image downloader's two threads on loopback:
// card pictures ("_b.jpg") of the local market, fetched and written to
// files, as the product downloader asks for them.
#include "download/CTaobaoImageDownloader.h"
#include "market/Catalogue.h"
#include "tests/support/LocalMarket.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace {

const int kPictures = 200;

class Completion
{
public:
    void Reset(int expected)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_remaining = expected;
        m_bytes = 0;
    }
    void Done(const std::string& file)
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        std::lock_guard<std::mutex> guard(m_lock);
        m_bytes += error ? 0 : size;
        if (--m_remaining == 0)
            m_allDone.notify_all();
    }
    size_t Wait()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_allDone.wait(lock, [this] { return m_remaining == 0; });
        return m_bytes;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_allDone;
    int m_remaining = 0;
    size_t m_bytes = 0;
};

std::string PictureUrl(int index)
{
    const auto& products = LocalMarket::instance().server().catalogue().products();
    return LocalMarket::instance().serviceUrl() + "/pic/item/" +
           std::to_string(products[size_t(index) % products.size()].numIid) + ".jpg_b.jpg";
}

void FetchAll(CTaobaoImageDownloader& images, Completion& completion, const std::string& dir)
{
    completion.Reset(kPictures);
    for (int i = 0; i < kPictures; ++i) {
        CImageRequest request;
        request.position = i;
        request.url = PictureUrl(i);
        request.localPath = dir + "/" + std::to_string(i) + ".jpg";
        request.postDownload = [&completion](CImageRequest& done) {
            completion.Done(done.localPath);
            return 1;
        };
        images.PushRequest(request);
    }
}

void BM_PictureThroughputOfTwoThreads(benchmark::State& state)
{
    const std::string dir = std::filesystem::temp_directory_path() / ("quobrix-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    CTaobaoImageDownloader images;
    Completion completion;
    // The market draws a picture on its first request; measure served ones.
    FetchAll(images, completion, dir);
    completion.Wait();

    size_t bytes = 0;
    for (auto _ : state) {
        FetchAll(images, completion, dir);
        bytes += completion.Wait();
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
    state.SetBytesProcessed(int64_t(bytes));
    images.Stop();
    std::filesystem::remove_all(dir);
}

}

BENCHMARK(BM_PictureThroughputOfTwoThreads)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
