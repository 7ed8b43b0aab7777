#include "render/CHeavyCostProductRenderMsg.h"

#include "render/CRenderDeviceLock.h"
#include "scene/CCardPainter.h"
#include "taobao/CTaobaoProductInfo.h"

bool CHeavyCostProductRenderMsg::PrepareTextures(std::set<int>& preRendered, const std::string& picturePath,
                                                 const CardDrawer& drawCard)
{
    if (preRendered.count(m_position))
        return false;
    CRenderDeviceLock::Scoped lock;
    RenderDevice* device = lock.Device();
    if (!device)
        return false;
    if (!m_cardTexture)
        m_cardTexture = drawCard(*device);
    if (!m_pictureTexture)
        m_pictureTexture = CCardPainter::LoadPictureTexture(picturePath, *device);
    if (!m_pictureTexture)
        m_pictureTexture = CCardPainter::LoadPictureTexture(kNoPicturePath, *device);
    preRendered.insert(m_position);
    return true;
}
