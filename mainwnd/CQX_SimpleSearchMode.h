#pragma once
#include "mainwnd/CQX_SearchMode.h"

// The results of a keyword search started from a recommendation: the search
// bar shows only the keyword.
class CQX_SimpleSearchMode : public CQX_SearchMode
{
public:
    int GetModeKind() const override { return ModeSimpleSearch; }
};
