#pragma once
#include "platform/Log.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

// The program's log written into a folder of the test's own for as long as
// this lives, so a test can read what the program logged.
class CapturedLog
{
public:
    explicit CapturedLog(bool verbose = false)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quobrix-log-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        std::string error;
        m_open = Log::Open(m_dir.string(), verbose, error);
    }
    ~CapturedLog()
    {
        Log::Close();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    bool IsOpen() const { return m_open; }
    const std::filesystem::path& Dir() const { return m_dir; }
    std::string Text() const
    {
        std::ifstream in(m_dir / Log::kFileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_dir;
    bool m_open = false;
};
