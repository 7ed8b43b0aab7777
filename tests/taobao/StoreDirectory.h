#pragma once
#include "TempDir.h"

#include "taobao/CTaobaoDataStore.h"

#include <filesystem>

// Runs a test with the program's relative data paths ("../datafiles/data/")
// inside a temporary tree, and with a data store created there.
class StoreDirectory
{
public:
    StoreDirectory() : m_previous(std::filesystem::current_path())
    {
        std::filesystem::create_directories(m_root.path() / "bin");
        std::filesystem::create_directories(m_root.path() / "datafiles" / "data");
        std::filesystem::current_path(m_root.path() / "bin");
        // A store left by an earlier test writes its lists here, not into the build tree.
        CTaobaoDataStore::release();
    }
    ~StoreDirectory()
    {
        CTaobaoDataStore::release();
        std::filesystem::current_path(m_previous);
    }
    StoreDirectory(const StoreDirectory&) = delete;
    StoreDirectory& operator=(const StoreDirectory&) = delete;

    std::string dataFile(const std::string& name) const { return m_root.file("datafiles/data/" + name); }

private:
    TempDir m_root;
    std::filesystem::path m_previous;
};
