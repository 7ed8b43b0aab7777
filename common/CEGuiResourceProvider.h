#pragma once
// CEGUI's default provider copies every file it loads into memory. A Chinese
// font file is some 17 MB, loaded once per font size, and FreeType reads only
// the tables and glyphs it needs of it, so font files are mapped instead.
// CEGUI frees a container it failed to use with delete[], which mapped bytes
// must never reach: a file is mapped only once FreeType has shown that CEGUI's
// font can use it, and anything else is copied as before.
#include <CEGUI/DefaultResourceProvider.h>

#include <map>
#include <memory>

class MappedFile;

class CEGuiResourceProvider : public CEGUI::DefaultResourceProvider
{
public:
    CEGuiResourceProvider();
    ~CEGuiResourceProvider() override;

    void loadRawDataContainer(const CEGUI::String& filename, CEGUI::RawDataContainer& output,
                              const CEGUI::String& resourceGroup) override;
    void unloadRawDataContainer(CEGUI::RawDataContainer& data) override;

    size_t MappedFileCount() const { return m_mapped.size(); }

private:
    static bool IsFontFile(const CEGUI::String& filename);

    // Each mapping by the address handed out, until that container is unloaded.
    std::map<const CEGUI::uint8*, std::unique_ptr<MappedFile>> m_mapped;
};
