#pragma once

// The browsing modes, by the number each reports and the history records.
enum CQX_ModeKind
{
    ModeSearch = 0,
    ModeSimpleSearch = 1,
    ModeFavoriteProducts = 2,
    ModeToday = 3,
    ModeFavoriteShops = 4,
    ModeRoam = 5,
    ModeShop = 6,
    ModeUnknown = 8,
};
