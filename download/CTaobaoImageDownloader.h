#pragma once
#include <Poco/Mutex.h>

// Downloads product and recommendation pictures on two background threads.
// The API client throttles it while a request is in flight: with a count of 2
// both threads run, with 1 only the first, with 0 none.
class CTaobaoImageDownloader
{
public:
    static CTaobaoImageDownloader& getInstance();

    void SetActiveThreadCount(int count);
    int GetActiveThreadCount() const;

    CTaobaoImageDownloader() = default;
    CTaobaoImageDownloader(const CTaobaoImageDownloader&) = delete;
    CTaobaoImageDownloader& operator=(const CTaobaoImageDownloader&) = delete;

private:
    mutable Poco::Mutex m_throttleLock;
    int m_activeThreadCount = 2;
};
