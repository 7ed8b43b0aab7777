#pragma once
#include "mainwnd/CQX_BaseMode.h"

// The shops the user saved as favourites, one card per shop; a click enters
// the shop.
class CQX_FavoriteShopMode : public CQX_BaseMode
{
public:
    int GetModeKind() const override { return ModeFavoriteShops; }
    // Each shop's picture is fetched once into the picture cache.
    void Display(const std::vector<int>& positions) override;
    int GetProductCount() const override;
    void OnClickProduct(int position) override;
};
