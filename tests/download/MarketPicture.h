#pragma once
#include "tests/support/LocalMarket.h"

#include <filesystem>
#include <fstream>
#include <string>

// A picture of an exact size on the local market: the market serves the
// pictures in its cache byte for byte, so a test puts one there under a
// number no catalogue product uses.
class MarketPicture
{
public:
    MarketPicture(long long key, size_t size) : m_bytes(Pattern(size))
    {
        const std::string name = std::to_string(key) + ".jpg";
        const std::filesystem::path dir =
            market::MarketServer::pictureCacheDir(LocalMarket::dataDir()) + std::string("/item");
        std::filesystem::create_directories(dir);
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc).write(m_bytes.data(), m_bytes.size());
        m_url = LocalMarket::instance().serviceUrl() + "/pic/item/" + name;
    }

    const std::string& url() const { return m_url; }
    const std::string& bytes() const { return m_bytes; }

private:
    static std::string Pattern(size_t size)
    {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
        return bytes;
    }

    std::string m_bytes;
    std::string m_url;
};
