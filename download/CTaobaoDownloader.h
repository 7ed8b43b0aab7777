#pragma once
#include "download/CDetailRequest.h"
#include "download/CImageRequest.h"
#include "download/CRequestQueue.h"

#include <Poco/Event.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class CTaobaoImageDownloader;

// Turns wanted positions of the current result list into product records
// and pictures, and fetches details, shops and sellers on demand, on three
// threads: products, details, and categories with their properties. Every
// operation returns at once; results travel as render messages.
class CTaobaoDownloader
{
public:
    static constexpr int kSearchPageSize = 200;
    static constexpr const char* kPictureFileFormat = "../datafiles/img/%d.jpg";
    // The marketplace's small variant of a product picture.
    static constexpr const char* kThumbnailSuffix = "_b.jpg";

    static CTaobaoDownloader& getInstance();

    // Starts the three threads; pictures go to the given image downloader.
    explicit CTaobaoDownloader(CTaobaoImageDownloader& images);
    ~CTaobaoDownloader();
    CTaobaoDownloader(const CTaobaoDownloader&) = delete;
    CTaobaoDownloader& operator=(const CTaobaoDownloader&) = delete;

    // Replaces the wanted positions (first given, first served) and drops the
    // pictures still waiting for the previous ones.
    // An empty list empties both queues, as a new browse needs.
    void downloadProducts(const std::vector<int>& positions);
    // The request made last is served first.
    void downloadProductDetails(int position);
    // Answered at once from the caches when they know the shop or seller.
    // nick in the system code page, as the search condition keeps it.
    void requestShopInfo(const std::string& nick);
    void requestUserInfo(const std::string& nick);

    // The callbacks of every product picture request.
    static int PreDownloadImage(CImageRequest& request);
    static int PostDownloadImage(CImageRequest& request);

    size_t PendingProducts() const;
    size_t PendingDetails() const;

    // Cooperative stop of the three threads and of the image downloader's.
    // Safe to call twice.
    void Stop();
    bool IsRunning() const;

private:
    void downloadProductsImpl();
    void downloadProductDetailsImpl();
    void downloadCategoriesImpl();

    bool IsStopping() const;
    template <typename Request, typename Serve>
    void WorkQueue(Poco::Event& wake, CRequestQueue<Request>& queue, Serve serve);
    void ServeProduct(int position, int searchId);
    void QueuePicture(int position, int searchId);
    void TriggerCategories();
    void PushDetailRequest(const CDetailRequest& request);
    // False when the queue must wait for the next request.
    bool ServeDetail(const CDetailRequest& request, int searchId);
    bool ServeProductDetails(int position, int searchId);
    void LoadCategories();

    CTaobaoImageDownloader& m_images;
    CRequestQueue<int> m_productQueue;
    CRequestQueue<CDetailRequest> m_detailQueue;
    Poco::Event m_productsEvent{Poco::Event::EVENT_AUTORESET};
    Poco::Event m_detailsEvent{Poco::Event::EVENT_AUTORESET};
    Poco::Event m_categoriesEvent{Poco::Event::EVENT_AUTORESET};
    // Products thread only: numbers the picture files, never reused in a run.
    int m_pictureCounter = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_productsThread;
    std::thread m_detailsThread;
    std::thread m_categoriesThread;
};
