#pragma once
#include "mainwnd/CQX_BaseMode.h"

struct CImageRequest;
struct CQXRecommendItem;

// Free roaming through the current class of the recommendations: keywords to
// search, shops to enter and product pages to open.
class CQX_RoamMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeRoam; }
    // Placeholders at once; a card as soon as its picture is at hand.
    void Display(const std::vector<int>& positions) override;
    int GetProductCount() const override;
    void OnClickProduct(int position) override;
    std::unique_ptr<CQX_HistoryEntry> CreateHistoryEntry() const override;
    void Activate() override;

    // The callbacks of a recommendation picture's download.
    static int PreDownloadImage(CImageRequest& request);
    static int PostDownloadImage(CImageRequest& request);

private:
    static void ShowCard(int position, int searchId);
    static void OpenLink(const CQXRecommendItem& item);
    static void ApplyItem(const CQXRecommendItem& item);
    static void SearchKeyword(const CQXRecommendItem& item);
};
