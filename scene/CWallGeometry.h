#pragma once
#include "platform/RenderDevice.h"
#include "scene/CPictureSize.h"

#include <memory>

// What every card on the wall shares: the quads of the text band, the white
// picture background, the soft shadow and the reflection, the lit placeholder
// panel and the backdrop plane, with their lights and the two shadow
// textures. Rectangles are in card space: x to the right, y up, z 0, the
// card's bottom edge at y 0.
class CWallGeometry
{
public:
    static constexpr int kFullPicture = 220;
    // A card with a full picture, and the text band and margins a card
    // adds to its picture's height.
    static constexpr int kCardHeight = 352;
    static constexpr int kCardChrome = 132;

    // Creates the quads and loads the shadow textures; called once the device
    // exists. Rebuild refills only the quads (after a view resize).
    void Create(RenderDevice& device);
    void Rebuild();

    // The picture quad of one card, for a picture of width x height units
    // standing centred on the text band.
    static std::unique_ptr<VertexBuffer> MakePictureQuad(int width, int height);

    // The soft shadow behind one card, squeezed to its height, without the
    // parts its opaque picture (with its background) and text band cover
    // once drawn over it: blended and then covered, those parts cost a third
    // of a moving frame. Only what is drawn counts: no picture texture, no
    // hole for it.
    static std::unique_ptr<VertexBuffer> MakeShadowRing(const CPictureSize& size, bool withPicture, bool withText);

    // The dark plane behind everything, in its own orthographic projection
    // (lighter at the bottom, black at the top).
    void DrawBackdrop(RenderDevice& device) const;
    // The panel of a card whose product has no picture yet, with the
    // current world transform.
    void DrawPlaceholder(RenderDevice& device) const;

    const VertexBuffer& TextQuad() const { return *m_textQuad; }
    const VertexBuffer& PictureBackground() const { return *m_pictureBackground; }
    const VertexBuffer& ShadowQuad() const { return *m_shadowQuad; }
    const VertexBuffer& ReflectionQuad() const { return *m_reflectionQuad; }
    const Texture* BackShadow() const { return m_backShadow.get(); }
    const Texture* FrontShadow() const { return m_frontShadow.get(); }

private:
    std::unique_ptr<VertexBuffer> m_textQuad;
    std::unique_ptr<VertexBuffer> m_pictureBackground;
    std::unique_ptr<VertexBuffer> m_shadowQuad;
    std::unique_ptr<VertexBuffer> m_reflectionQuad;
    std::unique_ptr<VertexBuffer> m_placeholderPanel;
    std::unique_ptr<VertexBuffer> m_backdrop;
    TexturePtr m_backShadow;
    TexturePtr m_frontShadow;
};
