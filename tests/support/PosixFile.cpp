#include "tests/support/PosixFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

PosixFile::PosixFile(const std::string& path) {
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (m_fd < 0) m_error = uint32_t(errno);
}

PosixFile::~PosixFile() {
    if (m_fd >= 0) close(m_fd);
}

bool PosixFile::Failed() {
    if (!m_error) m_error = errno ? uint32_t(errno) : uint32_t(EIO);
    return false;
}

bool PosixFile::WriteAt(uint64_t offset, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = pwrite(m_fd, p, size, off_t(offset));
        if (n <= 0) return Failed();
        p += n;
        offset += uint64_t(n);
        size -= size_t(n);
    }
    return true;
}

bool PosixFile::ReadAt(uint64_t offset, void* data, size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = pread(m_fd, p, size, off_t(offset));
        if (n <= 0) return Failed();
        p += n;
        offset += uint64_t(n);
        size -= size_t(n);
    }
    return true;
}

bool PosixFile::Truncate(uint64_t size) { return ftruncate(m_fd, off_t(size)) == 0 || Failed(); }

bool PosixFile::FlushToDisk() { return fsync(m_fd) == 0 || Failed(); }
