#include "scene/CPictureSize.h"

#include "platform/PixelImage.h"
#include "scene/CWallGeometry.h"

namespace {

constexpr int kFull = CWallGeometry::kFullPicture;
// Below this the short side is worth keeping; above it the picture fills the square.
constexpr int kNearlyFull = 198;

}

CPictureSize CPictureSize::Of(int fileWidth, int fileHeight)
{
    if (fileWidth <= 0 || fileHeight <= 0)
        return {};
    const int width = static_cast<int>(static_cast<long long>(fileWidth) * kFull / fileHeight);
    if (width <= kNearlyFull)
        return {width, kFull};
    const int height = static_cast<int>(static_cast<long long>(fileHeight) * kFull / fileWidth);
    if (height <= kNearlyFull)
        return {kFull, height};
    return {};
}

CPictureSize CPictureSize::OfFile(const std::string& path)
{
    int width = 0, height = 0;
    if (!PixelImage::ReadSize(path, width, height))
        return {};
    return Of(width, height);
}

