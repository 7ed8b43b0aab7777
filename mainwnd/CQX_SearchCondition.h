#pragma once
#include "mainwnd/CQX_SearchSnapshot.h"

class CQX_MainWnd;
struct CTaobaoSearchParams;

// The search the user has set up, and the start of every browse: a new
// browse advances the search id, empties the wall and hands the condition to
// the data store's search record.
class CQX_SearchCondition : public CQX_SearchSnapshot
{
public:
    static CQX_SearchCondition& getInstance();

    // Nothing is searched before the main window is set.
    void SetOwner(CQX_MainWnd* owner) { m_owner = owner; }
    CQX_MainWnd* GetOwner() const { return m_owner; }

    void ResetCondition();
    CQX_SearchSnapshot Snapshot() const { return *this; }
    void Restore(const CQX_SearchSnapshot& snapshot) { static_cast<CQX_SearchSnapshot&>(*this) = snapshot; }

    // Starts a new browse of the current mode, positioned at result index first.
    bool DoSearch(int first);
    void PrepareNewBrowse(int first);
    // Sets the record's sort order for the sort type and direction; false,
    // and nothing changed, for a combination that has no order.
    bool ApplySort(bool flag, int type);
    // Re-sorts the current browse and remembers the sort.
    bool SetSort(int type, bool flag);

    // The record's sort order for a sort type and direction, 0 for none.
    static int SortOrderFor(bool flag, int type);

private:
    void FillSearchRecord(int modeKind, CTaobaoSearchParams& search) const;
    void FillShopRecord(CTaobaoSearchParams& search) const;

    CQX_MainWnd* m_owner = nullptr;
};
