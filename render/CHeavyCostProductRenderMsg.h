#pragma once
#include "platform/Texture.h"
#include "render/CHeavyCostRenderMsg.h"

#include <functional>
#include <string>

class RenderDevice;

// A card for the wall: the worker makes its picture and card textures, the
// render thread hands them to the wall. Textures the wall refuses die with
// the message.
class CHeavyCostProductRenderMsg : public CHeavyCostRenderMsg
{
public:
    using CHeavyCostRenderMsg::CHeavyCostRenderMsg;

protected:
    using CardDrawer = std::function<TexturePtr(RenderDevice&)>;

    // Under the device lock and only while the device may be used: makes the
    // textures still missing and marks the position prepared. False when
    // the position was prepared already or the device is gone. A picture
    // that cannot be read shows the no-picture placeholder.
    bool PrepareTextures(std::set<int>& preRendered, const std::string& picturePath, const CardDrawer& drawCard);

    TexturePtr m_pictureTexture;
    TexturePtr m_cardTexture;
};
