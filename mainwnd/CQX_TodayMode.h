#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The products whose details were viewed today.
class CQX_TodayMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeToday; }
};
