#include "scene/CProductCard.h"

#include "scene/CWallGeometry.h"

CProductCard::CProductCard(TexturePtr picture, TexturePtr card, CPictureSize size, std::string picturePath,
                           std::string numIid)
    : m_cardTexture(std::move(card)), m_pictureTexture(std::move(picture)), m_size(size),
      m_picturePath(std::move(picturePath)), m_numIid(std::move(numIid))
{
    RebuildQuad();
}

void CProductCard::RebuildQuad()
{
    m_pictureQuad = CWallGeometry::MakePictureQuad(m_size.width, m_size.height);
    m_shadowRing = CWallGeometry::MakeShadowRing(m_size, m_pictureTexture != nullptr, m_cardTexture != nullptr);
}
