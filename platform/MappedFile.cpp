#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        void* data = mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data != MAP_FAILED) {
            m_data = static_cast<const unsigned char*>(data);
            m_size = static_cast<size_t>(status.st_size);
        }
    }
    // The mapping keeps the file's pages; the descriptor is not needed.
    close(fd);
}

MappedFile::~MappedFile()
{
    if (m_data)
        munmap(const_cast<unsigned char*>(m_data), m_size);
}
