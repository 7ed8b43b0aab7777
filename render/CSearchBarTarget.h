#pragma once
#include "render/CRegisteredTarget.h"

#include <string>

// What the search bar offers the messages: showing the seller whose shop is
// being browsed. The top panel registers itself when it is created.
class CSearchBarTarget : public CRegisteredTarget<CSearchBarTarget>
{
public:
    virtual ~CSearchBarTarget() = default;
    virtual void ShowShopNick(const std::string& utf8Nick) = 0;
};
