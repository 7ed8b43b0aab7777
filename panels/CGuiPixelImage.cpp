#include "panels/CGuiPixelImage.h"

#include "platform/PixelImage.h"

#include <vector>

namespace {

// The GUI takes bytes R, G, B, A; our pixels are stored B, G, R, A.
std::vector<CEGUI::uint8> RgbaBytes(const PixelImage& pixels)
{
    const size_t count = static_cast<size_t>(pixels.Width()) * pixels.Height();
    std::vector<CEGUI::uint8> bytes(count * 4);
    const uint32_t* src = pixels.Pixels();
    for (size_t i = 0; i < count; ++i) {
        bytes[i * 4 + 0] = static_cast<CEGUI::uint8>(src[i] >> 16);
        bytes[i * 4 + 1] = static_cast<CEGUI::uint8>(src[i] >> 8);
        bytes[i * 4 + 2] = static_cast<CEGUI::uint8>(src[i]);
        bytes[i * 4 + 3] = static_cast<CEGUI::uint8>(src[i] >> 24);
    }
    return bytes;
}

}

CGuiPixelImage::CGuiPixelImage(const std::string& name) : m_name(name)
{
    m_texture = &CEGUI::System::getSingleton().getRenderer()->createTexture(name + "_texture");
    m_image = static_cast<CEGUI::BasicImage*>(&CEGUI::ImageManager::getSingleton().create("BasicImage", name));
    m_image->setTexture(m_texture);
    m_image->setAutoScaled(CEGUI::ASM_Disabled);
}

CGuiPixelImage::~CGuiPixelImage()
{
    CEGUI::ImageManager::getSingleton().destroy(m_name);
    CEGUI::System::getSingleton().getRenderer()->destroyTexture(*m_texture);
}

void CGuiPixelImage::SetPixels(const PixelImage& pixels)
{
    if (pixels.IsEmpty())
        return;
    const std::vector<CEGUI::uint8> bytes = RgbaBytes(pixels);
    const CEGUI::Sizef size(static_cast<float>(pixels.Width()), static_cast<float>(pixels.Height()));
    m_texture->loadFromMemory(bytes.data(), size, CEGUI::Texture::PF_RGBA);
    m_image->setArea(CEGUI::Rectf(CEGUI::Vector2f(0, 0), size));
}
