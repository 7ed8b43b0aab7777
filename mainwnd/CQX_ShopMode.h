#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The products of one seller, with the shop's header in the top bar.
class CQX_ShopMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeShop; }
    std::unique_ptr<CQX_HistoryEntry> CreateHistoryEntry() const override;
    void RestoreHistoryEntry(const CQX_HistoryEntry& entry) override;
    // The left panel shows the seller while the shop is shown.
    void Activate() override;
    void Deactivate() override;
};
