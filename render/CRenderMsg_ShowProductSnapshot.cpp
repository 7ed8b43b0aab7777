#include "render/CRenderMsg_ShowProductSnapshot.h"

#include "render/CHeavyCostMsg_ProductCleanedInRenderThread.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CWallView.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"

namespace {

enum ModeId
{
    SearchMode = 0,
    SimpleSearchMode = 1,
    FavoriteProductsMode = 2,
    ViewedTodayMode = 3,
    ShopMode = 6,
};

bool HasCardLayout(int modeId)
{
    return modeId == SearchMode || modeId == SimpleSearchMode || modeId == FavoriteProductsMode ||
           modeId == ViewedTodayMode || modeId == ShopMode;
}

}

CRenderMsg_ShowProductSnapshot::CRenderMsg_ShowProductSnapshot(int position, int searchId, int modeId, Card card)
    : CHeavyCostProductRenderMsg(position, searchId), m_modeId(modeId), m_card(std::move(card))
{
}

// A card prepared but never placed (dropped as stale or far from the screen)
// leaves the worker's prepared set, so the position can be prepared again.
CRenderMsg_ShowProductSnapshot::~CRenderMsg_ShowProductSnapshot()
{
    if (m_cardTexture)
        CHeavyCostRenderMsgQueue::getInstance().PushToHead(
            std::make_unique<CHeavyCostMsg_ProductCleanedInRenderThread>(m_searchId, std::vector<int>{m_position}));
}

bool CRenderMsg_ShowProductSnapshot::IsKept() const
{
    return CWallView::getInstance().IsKept(m_position);
}

const char* CRenderMsg_ShowProductSnapshot::GetName() const
{
    return "CRenderMsg_ShowProductSnapshot";
}

// A card made for a mode that lists no products (favourite shops, roaming)
// is never shown.
bool CRenderMsg_ShowProductSnapshot::PreRender(std::set<int>& preRendered)
{
    if (m_cardTexture || !HasCardLayout(m_modeId))
        return false;
    return PrepareTextures(preRendered, m_card.picturePath, [this](RenderDevice& device) { return DrawCard(device); });
}

TexturePtr CRenderMsg_ShowProductSnapshot::DrawCard(RenderDevice& device) const
{
    switch (m_modeId) {
    case FavoriteProductsMode:
        return CCardPainter::DrawFavoriteCard(m_card.num_iid, device);
    case ViewedTodayMode:
        return CCardPainter::DrawHistoryCard(m_card.num_iid, device);
    default:
        return CCardPainter::DrawProductCard(m_card.price, m_card.saleType, m_position, m_card.title, device);
    }
}

void CRenderMsg_ShowProductSnapshot::Process()
{
    CProductWall::getInstance().AddProductCard(m_position, m_card.picturePath, m_card.num_iid,
                                               std::move(m_pictureTexture), std::move(m_cardTexture));
}
