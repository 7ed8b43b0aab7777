#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The products the user saved as favourites.
class CQX_FavoriteProductMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeFavoriteProducts; }
};
