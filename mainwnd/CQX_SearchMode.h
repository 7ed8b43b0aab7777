#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The results of a search with the full search bar: keyword, price range,
// location, filters and sort.
class CQX_SearchMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeSearch; }
    std::unique_ptr<CQX_HistoryEntry> CreateHistoryEntry() const override { return MakeHistoryEntry(""); }
};
