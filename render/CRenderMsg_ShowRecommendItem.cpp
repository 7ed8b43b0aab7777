#include "render/CRenderMsg_ShowRecommendItem.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"
#include "service/CQXRecommendCatalogue.h"

namespace {
const int kRoamModeId = 5;
}

CRenderMsg_ShowRecommendItem::CRenderMsg_ShowRecommendItem(int position, int searchId)
    : CHeavyCostProductRenderMsg(position, searchId)
{
}

const char* CRenderMsg_ShowRecommendItem::GetName() const
{
    return "CRenderMsg_ShowRecommendItem";
}

bool CRenderMsg_ShowRecommendItem::PreRender(std::set<int>& preRendered)
{
    if (CQX_GlobalVariable::getInstance().GetCurrentModeId() != kRoamModeId)
        return false;
    const std::string path = CQXRecommendCatalogue::getInstance().PicturePath(m_position);
    return PrepareTextures(preRendered, path, [this](RenderDevice& device) {
        return CCardPainter::DrawRecommendCard(m_position, device);
    });
}

void CRenderMsg_ShowRecommendItem::Process()
{
    CProductWall::getInstance().AddRecommendCard(m_position, std::move(m_pictureTexture), std::move(m_cardTexture));
}
