#pragma once
#include "mainwnd/CQX_ModeKind.h"
#include "mainwnd/CQX_SearchSnapshot.h"

#include <string>

// One step of the back/forward history: which mode, where on the wall, and
// the search that filled it.
struct CQX_HistoryEntry
{
    int modeKind = 0;
    int firstIndex = 0;
    CQX_SearchSnapshot snapshot;
    // roam: the recommendation class number; shop: the shop's picture path
    std::string extra;

    // Equal entries would make "back" show the same wall again.
    bool SameState(const CQX_HistoryEntry& other) const
    {
        if (modeKind != other.modeKind)
            return false;
        return modeKind == ModeRoam ? extra == other.extra : snapshot.SameSearch(other.snapshot);
    }
};
