#pragma once
#include "platform/Texture.h"
#include "scene/CPictureSize.h"
#include "platform/VertexBuffer.h"

#include <memory>
#include <string>

// One card on the wall: its picture and text textures (either may be null,
// and is then not drawn), the quad the picture is drawn on and the shadow
// around what is drawn.
class CProductCard
{
public:
    CProductCard(TexturePtr picture, TexturePtr card, CPictureSize size, std::string picturePath, std::string numIid);

    void RebuildQuad();

    const Texture* PictureTexture() const { return m_pictureTexture.get(); }
    const Texture* CardTexture() const { return m_cardTexture.get(); }
    const VertexBuffer& PictureQuad() const { return *m_pictureQuad; }
    const VertexBuffer& ShadowRing() const { return *m_shadowRing; }
    const CPictureSize& PictureSize() const { return m_size; }
    const std::string& PicturePath() const { return m_picturePath; }
    // Empty for recommendation and shop cards.
    const std::string& NumIid() const { return m_numIid; }

private:
    TexturePtr m_cardTexture;
    TexturePtr m_pictureTexture;
    std::unique_ptr<VertexBuffer> m_pictureQuad;
    std::unique_ptr<VertexBuffer> m_shadowRing;
    CPictureSize m_size;
    std::string m_picturePath;
    std::string m_numIid;
};
