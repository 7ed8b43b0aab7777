#pragma once
#include "mainwnd/CQX_SearchSnapshot.h"

// Where the user was in a view that has no history (today, favourites), so
// coming back shows the same place.
struct CQX_ModePosition
{
    int firstIndex = 0;
    CQX_SearchSnapshot snapshot;
    // favourites only: the favourite products (true) or shops were shown last
    bool products = true;
};
