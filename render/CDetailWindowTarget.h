#pragma once
#include "render/CRegisteredTarget.h"

#include <string>

struct CTaobaoProductInfoDetails;

// What the detail window offers the messages that fill it. Each operation
// does nothing unless the window shows the product at that position. The
// window registers itself when it is created; until then nothing is shown.
class CDetailWindowTarget : public CRegisteredTarget<CDetailWindowTarget>
{
public:
    virtual ~CDetailWindowTarget() = default;
    virtual void ShowDetails(int position, const CTaobaoProductInfoDetails& details) = 0;
    virtual void ShowSellerInfo(int position, const CTaobaoProductInfoDetails& details) = 0;
    virtual void SetDetailURL(int position, const std::string& url) = 0;
};
