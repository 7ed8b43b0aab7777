#pragma once
#include <CEGUI/CEGUI.h>

#include <string>

class PixelImage;

// A GUI image whose pixels the program draws itself, shown by any image
// widget that names it. Created and changed on the render thread.
class CGuiPixelImage
{
public:
    explicit CGuiPixelImage(const std::string& name);
    ~CGuiPixelImage();
    CGuiPixelImage(const CGuiPixelImage&) = delete;
    CGuiPixelImage& operator=(const CGuiPixelImage&) = delete;

    // The name widgets use in their "Image" property.
    const std::string& Name() const { return m_name; }

    // Replaces the pixels (and the size) of the image.
    void SetPixels(const PixelImage& pixels);

private:
    std::string m_name;
    CEGUI::Texture* m_texture = nullptr;
    CEGUI::BasicImage* m_image = nullptr;
};
