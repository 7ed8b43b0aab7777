#pragma once
#include "render/CRenderMsg.h"

#include <string>

// A seller's credit and good rate for the left panel. It stays useful after a
// new search: it applies whenever the panel still shows this seller.
class CRenderMsg_User_Completed : public CRenderMsg
{
public:
    // nick in UTF-8; goodRate as a fraction.
    CRenderMsg_User_Completed(int searchId, std::string nick, std::string credit, double goodRate);

    void Process() override;
    const char* GetName() const override;
    bool IsValid() const override;

private:
    std::string m_nick;
    std::string m_credit;
    double m_goodRate;
};
