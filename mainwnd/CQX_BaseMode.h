#pragma once
#include "mainwnd/CQX_HistoryEntry.h"
#include "mainwnd/CQX_ModeKind.h"

#include <memory>
#include <string>
#include <vector>

class CQX_MainWnd;

// A browsing mode: where the wall's products come from, what a click on a
// card does, and how the mode is entered, left and kept in the history.
class CQX_BaseMode
{
public:
    virtual ~CQX_BaseMode() = default;

    virtual void Deactivate() {}
    virtual int GetModeKind() const = 0;
    // Leaving a mode always empties the wall, also when the same mode is
    // entered again for a new search.
    void Leave();
    // Requests the products at these wall positions, first given, first served.
    virtual void Display(const std::vector<int>& positions);
    virtual int GetProductCount() const;
    virtual void OnClickProduct(int position);
    // Null for modes the history does not record.
    virtual std::unique_ptr<CQX_HistoryEntry> CreateHistoryEntry() const { return nullptr; }
    virtual void RestoreHistoryEntry(const CQX_HistoryEntry& entry) {}
    // Shows the top panel's view of the mode.
    virtual void Activate();

    bool IsBigPictures() const { return m_bigPictures; }
    void SetBigPictures(bool big) { m_bigPictures = big; }

protected:
    // The main window, null before the mode manager has one.
    static CQX_MainWnd* Owner();
    // An entry of this mode at the wall's first visible index with the
    // current search condition.
    std::unique_ptr<CQX_HistoryEntry> MakeHistoryEntry(std::string extra) const;
    // The shop mode for a seller (nick in the system code page): the search
    // condition names the seller (in a fresh condition, or in the one set up
    // before), the top panel and the left panel show it.
    static void EnterShop(const std::string& nick, const std::string& picturePath, bool freshCondition);

private:
    bool m_bigPictures = true;
};
