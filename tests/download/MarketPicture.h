#pragma once
#include "tests/support/EncodedPicture.h"
#include "tests/support/LocalMarket.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A picture of an exact size on the local market: the market serves the
// pictures in its cache byte for byte, so a test puts one there under a
// number no catalogue product uses. The number carries the process id, as
// test processes running side by side share the market's folder.
class MarketPicture
{
public:
    // A JPEG of exactly size bytes: a real picture's header, then filler.
    MarketPicture(int number, size_t size) : MarketPicture(number, Pattern(size)) {}
    MarketPicture(int number, std::string bytes) : m_bytes(std::move(bytes))
    {
        const long long key = 9000000000000LL + static_cast<long long>(getpid()) * 1000 + number;
        const std::string name = std::to_string(key) + ".jpg";
        const std::filesystem::path dir =
            market::MarketServer::pictureCacheDir(LocalMarket::dataDir()) + std::string("/item");
        std::filesystem::create_directories(dir);
        m_file = dir / name;
        std::ofstream(m_file, std::ios::binary | std::ios::trunc).write(m_bytes.data(), m_bytes.size());
        m_url = LocalMarket::instance().serviceUrl() + "/pic/item/" + name;
    }
    ~MarketPicture()
    {
        std::error_code ignored;
        std::filesystem::remove(m_file, ignored);
    }
    MarketPicture(const MarketPicture&) = delete;
    MarketPicture& operator=(const MarketPicture&) = delete;

    const std::string& url() const { return m_url; }
    const std::string& bytes() const { return m_bytes; }

private:
    static std::string Pattern(size_t size)
    {
        // A real picture's header first: the downloader reads it before it keeps a picture.
        std::string bytes = EncodedPicture(FIF_JPEG, 8).substr(0, size);
        for (size_t i = bytes.size(); i < size; ++i)
            bytes += static_cast<char>((i * 131 + i / 251) & 0xFF);
        return bytes;
    }

    std::string m_bytes;
    std::filesystem::path m_file;
    std::string m_url;
};
