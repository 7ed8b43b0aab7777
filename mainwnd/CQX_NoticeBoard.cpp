#include "mainwnd/CQX_NoticeBoard.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/Ticks.h"

CQX_NoticeBoard& CQX_NoticeBoard::getInstance()
{
    static CQX_NoticeBoard instance;
    return instance;
}

void CQX_NoticeBoard::SetState(int state, uint32_t expiry)
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    m_state = state;
    m_expiry = expiry;
    ++m_changes;
}

void CQX_NoticeBoard::SetStateUnless(int state, int kept)
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    if (m_state == kept)
        return;
    m_state = state;
    m_expiry = 0;
    ++m_changes;
}

int CQX_NoticeBoard::GetState() const
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    return m_state;
}

uint32_t CQX_NoticeBoard::GetExpiry() const
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    return m_expiry;
}

uint32_t CQX_NoticeBoard::GetChangeCount() const
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    return m_changes;
}

namespace {

struct PictureFile
{
    const char* path;
    int banners;
};

const PictureFile kPictureFiles[] = {
    {"../datafiles/imagesets/no_search_result.jpg", 2},   {"../datafiles/imagesets/no_today_products.jpg", 1},
    {"../datafiles/imagesets/no_favorit_products.jpg", 2}, {"../datafiles/imagesets/fail_connect_net.jpg", 0},
    {"../datafiles/imagesets/no_favorite_shops.jpg", 0},
};

}

void CQX_NoticeBoard::LoadPictures(RenderDevice& device)
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        m_pictures[slot].Load(device, kPictureFiles[slot].path, kPictureFiles[slot].banners);
}

int CQX_NoticeBoard::CurrentState(uint32_t now)
{
    Poco::FastMutex::ScopedLock lock(m_mutex);
    if (m_expiry != 0 && TickBefore(m_expiry, now)) {
        m_state = None;
        m_expiry = 0;
    }
    return m_state;
}

bool CQX_NoticeBoard::NoticeOf(int state, Notice& notice)
{
    switch (state) {
    case NetworkFailure: notice = {SlotNetworkFailure, CQX_NoticePicture::Whole}; return true;
    case NoSearchResult: notice = {SlotNoSearchResult, CQX_NoticePicture::Whole}; return true;
    case NothingViewedToday: notice = {SlotNoTodayProducts, CQX_NoticePicture::Whole}; return true;
    case NoFavoriteProducts: notice = {SlotNoFavoriteProducts, CQX_NoticePicture::Whole}; return true;
    case OpeningProduct: notice = {SlotNoTodayProducts, CQX_NoticePicture::Banner1}; return true;
    case NewBrowse: notice = {SlotNoSearchResult, CQX_NoticePicture::Banner1}; return true;
    case InputRefused: notice = {SlotNoSearchResult, CQX_NoticePicture::Banner2}; return true;
    case OpeningWebPage: notice = {SlotNoFavoriteProducts, CQX_NoticePicture::Banner1}; return true;
    case NoFavoriteShops: notice = {SlotNoFavoriteShops, CQX_NoticePicture::Whole}; return true;
    default: return false;
    }
}

void CQX_NoticeBoard::Draw(const Notice& notice, int offsetY) const
{
    m_pictures[notice.slot].Draw(notice.quad, offsetY);
}

void CQX_NoticeBoard::DrawUnder(uint32_t now)
{
    const int state = CurrentState(now);
    Notice notice;
    if (state != OpeningWebPage && NoticeOf(state, notice))
        Draw(notice, 0);
}

void CQX_NoticeBoard::DrawOver(uint32_t now)
{
    Notice notice;
    if (CurrentState(now) == OpeningWebPage && NoticeOf(OpeningWebPage, notice))
        Draw(notice, static_cast<int>(0.3 * CQX_GlobalVariable::getInstance().GetOverlayHeight()));
}
