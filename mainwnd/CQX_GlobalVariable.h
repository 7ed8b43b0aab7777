#pragma once
#include <atomic>
#include <cstdint>
#include <set>
#include <string>

class RenderDevice;

// The process-wide state every thread reads. Fields written on the main thread
// and read by workers are atomics: a reader sees either the old or the new
// value, and every consumer compares the search id before using a result.
class CQX_GlobalVariable
{
public:
    static constexpr int kActionCounterCount = 17;
    static constexpr size_t kMaxSearchWords = 10;

    enum Action
    {
        ActWallDrag = 0,
        ActNext = 1,
        ActTenTimesNext = 2,
        ActHistoryBack = 3,
        ActHistoryForward = 4,
        ActBackToRecommend = 5,
        ActToday = 6,
        ActFavorites = 7,
        ActRoam = 8,
        ActSearchBar = 9,
        ActAutoPlayStart = 10,
        ActShopEntered = 11,
        ActFavoriteProductAdded = 12,
        ActFavoriteShopAdded = 13,
        ActDetailReload = 14,
        ActSearchInShop = 15,
        ActCategoryChosen = 16,
    };

    static CQX_GlobalVariable& getInstance();

    void SearchIDChange() { m_searchId.fetch_add(1); }
    int32_t GetSearchID() const { return m_searchId.load(); }

    // Records up to ten distinct words (system code page), each followed by "-".
    void AddSearchWord(const std::string& word);
    const std::string& GetSearchWords() const { return m_searchWords; }

    RenderDevice* GetDevice() const { return m_device.load(); }
    void SetDevice(RenderDevice* device) { m_device.store(device); }

    int GetClientHeight() const { return m_clientHeight.load(); }
    void SetClientHeight(int h) { m_clientHeight.store(h); }
    int GetOverlayHeight() const { return m_overlayHeight.load(); }
    void SetOverlayHeight(int h) { m_overlayHeight.store(h); }
    int GetClientWidth() const { return m_clientWidth.load(); }
    void SetClientWidth(int w) { m_clientWidth.store(w); }

    int GetSpeedLevel() const { return m_speedLevel.load(); }
    void SetSpeedLevel(int level) { m_speedLevel.store(level); }

    uint32_t GetBusyUntil() const { return m_busyUntil.load(); }
    void SetBusyUntil(uint32_t tick) { m_busyUntil.store(tick); }

    uint32_t GetStartTime() const { return m_startTime; }

    // The kind of the current browsing mode (8 before the first switch), for
    // workers whose notices depend on what the user is looking at.
    int GetCurrentModeId() const { return m_currentModeId.load(); }
    void SetCurrentModeId(int id) { m_currentModeId.store(id); }

    bool IsQuitting() const { return m_quitting.load(); }
    void SetQuitting() { m_quitting.store(true); }

    void IncRequestsSent() { bump(m_requestsSent); }
    void IncPagesFetched() { bump(m_pagesFetched); }
    void IncAffiliateConversions() { bump(m_affiliateConversions); }
    void IncDetailsViewed() { bump(m_detailsViewed); }
    void IncRecommendationsApplied() { bump(m_recommendationsApplied); }
    void IncPagesOpened() { bump(m_pagesOpened); }
    void IncAction(int index);

    uint32_t GetRequestsSent() const { return m_requestsSent.load(); }
    uint32_t GetPagesFetched() const { return m_pagesFetched.load(); }
    uint32_t GetAffiliateConversions() const { return m_affiliateConversions.load(); }
    uint32_t GetDetailsViewed() const { return m_detailsViewed.load(); }
    uint32_t GetRecommendationsApplied() const { return m_recommendationsApplied.load(); }
    uint32_t GetPagesOpened() const { return m_pagesOpened.load(); }
    uint32_t GetActionCounter(int index) const;

    CQX_GlobalVariable();

private:
    using Counter = std::atomic<uint32_t>;
    static void bump(Counter& c) { c.fetch_add(1, std::memory_order_relaxed); }

    std::atomic<RenderDevice*> m_device{nullptr};
    std::atomic<int32_t> m_searchId{0};
    std::atomic<int> m_clientHeight{40};
    std::atomic<int> m_overlayHeight{0};
    std::atomic<int> m_clientWidth{0};
    std::atomic<int> m_speedLevel{2};
    std::atomic<uint32_t> m_busyUntil{0};
    uint32_t m_startTime;
    Counter m_requestsSent{0};
    Counter m_pagesFetched{0};
    Counter m_affiliateConversions{0};
    Counter m_detailsViewed{0};
    Counter m_recommendationsApplied{0};
    Counter m_pagesOpened{0};
    std::string m_searchWords;
    std::set<std::string> m_searchWordSet;
    std::atomic<bool> m_quitting{false};
    std::atomic<int> m_currentModeId{8};
    Counter m_actionCounters[kActionCounterCount]{};
};
