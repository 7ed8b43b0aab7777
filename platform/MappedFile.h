#pragma once
#include <cstddef>
#include <string>

// A whole file mapped read-only into memory: its pages are read from the
// page cache as they are touched, not copied up front.
class MappedFile
{
public:
    // Not open when the file cannot be opened or mapped, or is empty.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool IsOpen() const { return m_data != nullptr; }
    const unsigned char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
};
