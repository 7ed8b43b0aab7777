#include "render/CRenderMsg_ShowFavoriteShop.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoDataStore.h"

namespace {
const int kFavoriteShopModeId = 4;
}

CRenderMsg_ShowFavoriteShop::CRenderMsg_ShowFavoriteShop(int position, int searchId)
    : CHeavyCostProductRenderMsg(position, searchId)
{
}

const char* CRenderMsg_ShowFavoriteShop::GetName() const
{
    return "CRenderMsg_ShowFavoriteShop";
}

std::string CRenderMsg_ShowFavoriteShop::LocalPicturePath(const std::string& pictureUrl)
{
    const std::string name = pictureUrl.substr(pictureUrl.find_last_of('/') + 1);
    return name.empty() ? kNoPicturePath : kShopPicturePrefix + name;
}

bool CRenderMsg_ShowFavoriteShop::PreRender(std::set<int>& preRendered)
{
    if (CQX_GlobalVariable::getInstance().GetCurrentModeId() != kFavoriteShopModeId)
        return false;
    CTaobaoShopItem shop;
    if (!CTaobaoDataStore::getInstance().favoriteShops.copyShopAt(m_position, shop))
        return false;
    m_picturePath = LocalPicturePath(shop.pic_path);
    return PrepareTextures(preRendered, m_picturePath, [&shop](RenderDevice& device) {
        return CCardPainter::DrawShopCard(shop, device);
    });
}

void CRenderMsg_ShowFavoriteShop::Process()
{
    CProductWall::getInstance().AddShopCard(m_position, std::move(m_pictureTexture), std::move(m_cardTexture),
                                            m_picturePath);
}
