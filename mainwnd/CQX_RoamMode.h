#pragma once
#include "mainwnd/CQX_BaseMode.h"

struct CQXRecommendItem;

// Free roaming through the current class of the recommendations: keywords to
// search, shops to enter and product pages to open.
class CQX_RoamMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeRoam; }
    int GetProductCount() const override;
    void OnClickProduct(int position) override;
    std::unique_ptr<CQX_HistoryEntry> CreateHistoryEntry() const override;
    void Activate() override;

private:
    static void OpenLink(const CQXRecommendItem& item);
    static void ApplyItem(const CQXRecommendItem& item);
    static void SearchKeyword(const CQXRecommendItem& item);
};
