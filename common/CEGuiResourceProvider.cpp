#include "common/CEGuiResourceProvider.h"

#include "platform/FontFileCheck.h"
#include "platform/MappedFile.h"

#include <algorithm>
#include <cctype>

CEGuiResourceProvider::CEGuiResourceProvider() = default;

CEGuiResourceProvider::~CEGuiResourceProvider() = default;

bool CEGuiResourceProvider::IsFontFile(const CEGUI::String& filename)
{
    const std::string name = filename.c_str();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "ttf" || extension == "ttc" || extension == "otf";
}

void CEGuiResourceProvider::loadRawDataContainer(const CEGUI::String& filename, CEGUI::RawDataContainer& output,
                                                 const CEGUI::String& resourceGroup)
{
    if (IsFontFile(filename)) {
        auto file = std::make_unique<MappedFile>(getFinalFilename(filename, resourceGroup).c_str());
        if (file->IsOpen() && OpensAsUnicodeFont(file->Data(), file->Size())) {
            // FreeType only ever reads a memory face's bytes.
            auto* data = const_cast<CEGUI::uint8*>(file->Data());
            output.setData(data);
            output.setSize(file->Size());
            m_mapped[data] = std::move(file);
            return;
        }
    }
    DefaultResourceProvider::loadRawDataContainer(filename, output, resourceGroup);
}

void CEGuiResourceProvider::unloadRawDataContainer(CEGUI::RawDataContainer& data)
{
    const auto mapped = m_mapped.find(data.getDataPtr());
    if (mapped == m_mapped.end()) {
        DefaultResourceProvider::unloadRawDataContainer(data);
        return;
    }
    // Emptied first, so the container's own release never frees mapped bytes.
    data.setData(nullptr);
    data.setSize(0);
    m_mapped.erase(mapped);
}
