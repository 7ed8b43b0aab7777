#include "download/CTaobaoImageDownloader.h"

CTaobaoImageDownloader& CTaobaoImageDownloader::getInstance()
{
    static CTaobaoImageDownloader instance;
    return instance;
}

void CTaobaoImageDownloader::SetActiveThreadCount(int count)
{
    Poco::Mutex::ScopedLock lock(m_throttleLock);
    m_activeThreadCount = count;
}

int CTaobaoImageDownloader::GetActiveThreadCount() const
{
    Poco::Mutex::ScopedLock lock(m_throttleLock);
    return m_activeThreadCount;
}
