#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The mode before the first switch: shows nothing.
class CUnknownMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeUnknown; }
    void Activate() override {}
};
