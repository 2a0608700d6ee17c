#include "tests/support/MemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void Apply(std::vector<uint8_t>& file, const MemoryFile::Write& w, size_t bytes) {
    if (w.truncate) {
        file.resize(std::min<uint64_t>(file.size(), w.truncateSize));
        return;
    }
    if (file.size() < w.offset + bytes) file.resize(w.offset + bytes, 0);
    std::copy_n(w.bytes.begin(), bytes, file.begin() + long(w.offset));
}

}  // namespace

bool MemoryFile::WriteAt(uint64_t offset, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    size_t fits = size;
    if (offset + size > capacity) fits = offset >= capacity ? 0 : size_t(capacity - offset);
    Write w{offset, std::vector<uint8_t>(p, p + fits), false, 0};
    Apply(m_bytes, w, fits);
    m_log.push_back(std::move(w));
    if (fits < size) {
        if (!m_error) m_error = DiskFull;
        return false;
    }
    return true;
}

bool MemoryFile::ReadAt(uint64_t offset, void* data, size_t size) {
    if (offset + size > m_bytes.size()) return false;
    std::memcpy(data, m_bytes.data() + offset, size);
    return true;
}

bool MemoryFile::Truncate(uint64_t size) {
    Write w{0, {}, true, size};
    Apply(m_bytes, w, 0);
    m_log.push_back(std::move(w));
    return true;
}

bool MemoryFile::FlushToDisk() {
    ++m_flushes;
    return true;
}

std::vector<uint8_t> MemoryFile::After(size_t writes, size_t bytes) const {
    std::vector<uint8_t> file;
    for (size_t i = 0; i < writes && i < m_log.size(); ++i)
        Apply(file, m_log[i], m_log[i].bytes.size());
    if (writes < m_log.size() && !m_log[writes].truncate)
        Apply(file, m_log[writes], std::min(bytes, m_log[writes].bytes.size()));
    return file;
}

bool MemoryFile::SaveTo(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(m_bytes.data(), 1, m_bytes.size(), f) == m_bytes.size();
    return std::fclose(f) == 0 && ok;
}
