#pragma once
#include "render/CHeavyCostProductRenderMsg.h"

#include <string>

// The card of one favourite shop; the position is the shop's index in the
// favourite-shop list.
class CRenderMsg_ShowFavoriteShop : public CHeavyCostProductRenderMsg
{
public:
    static constexpr const char* kShopPicturePrefix = "../datafiles/img/shop_";

    CRenderMsg_ShowFavoriteShop(int position, int searchId);

    void Process() override;
    const char* GetName() const override;
    bool PreRender(std::set<int>& preRendered) override;

    // Where the picture of a shop with this picture URL is kept.
    static std::string LocalPicturePath(const std::string& pictureUrl);

private:
    std::string m_picturePath;
};
