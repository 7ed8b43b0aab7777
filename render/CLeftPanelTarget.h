#pragma once
#include "render/CRegisteredTarget.h"

#include <string>

// What the left panel offers the messages that fill it: its trees, the
// seller it shows and the shop bulletin. The panel registers itself when it
// is initialised; until then the messages change nothing.
class CLeftPanelTarget : public CRegisteredTarget<CLeftPanelTarget>
{
public:
    virtual ~CLeftPanelTarget() = default;
    virtual void BuildCategoryTree() = 0;
    virtual void BuildPropertyTree() = 0;

    // The nick of the seller on show, in the system code page.
    virtual std::string GetSellerNick() const = 0;
    // ratePercent: the good rate in percent.
    virtual void SetSellerCredit(const std::string& credit, double ratePercent) = 0;
    virtual void RefreshSellerInfo() = 0;

    virtual void SetBulletin(const std::string& utf8Bulletin) = 0;
    virtual void RefreshBulletin() = 0;
};
