#include "tests/support/SparseFile.h"

#include <algorithm>
#include <cstring>

bool SparseFile::Failing() {
    if (m_calls++ != failCall) return false;
    if (!m_error) m_error = FailedCode;
    return true;
}

void SparseFile::Keep(uint64_t offset, const uint8_t* data, size_t size) {
    while (size > 0) {
        Page& page = m_pages[offset / PageBytes];
        if (page.bytes.empty()) {
            page.bytes.resize(PageBytes);
            page.known.resize(PageBytes);
        }
        const size_t in = size_t(offset % PageBytes);
        const size_t n = std::min<size_t>(size, PageBytes - in);
        std::memcpy(page.bytes.data() + in, data, n);
        std::fill_n(page.known.begin() + long(in), n, true);
        offset += n;
        data += n;
        size -= n;
    }
}

bool SparseFile::WriteAt(uint64_t offset, const void* data, size_t size) {
    if (Failing()) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (size <= keepWhole) {
        Keep(offset, p, size);
    } else {
        Keep(offset, p, edgeBytes);
        Keep(offset + size - edgeBytes, p + size - edgeBytes, edgeBytes);
    }
    m_size = std::max(m_size, offset + size);
    return true;
}

bool SparseFile::ReadAt(uint64_t offset, void* data, size_t size) {
    if (offset + size > m_size) return false;
    auto* out = static_cast<uint8_t*>(data);
    for (size_t i = 0; i < size;) {
        const uint64_t at = offset + i;
        const auto page = m_pages.find(at / PageBytes);
        const size_t in = size_t(at % PageBytes);
        const size_t n = std::min<size_t>(size - i, PageBytes - in);
        if (page == m_pages.end()) return false;
        const auto& known = page->second.known;
        if (std::find(known.begin() + long(in), known.begin() + long(in + n), false) !=
            known.begin() + long(in + n))
            return false;
        std::memcpy(out + i, page->second.bytes.data() + in, n);
        i += n;
    }
    return true;
}

bool SparseFile::Truncate(uint64_t size) {
    if (Failing()) return false;
    m_size = size;
    for (auto it = m_pages.begin(); it != m_pages.end();) {
        const uint64_t start = it->first * PageBytes;
        if (start >= size) {
            it = m_pages.erase(it);
            continue;
        }
        if (start + PageBytes > size)
            std::fill(it->second.known.begin() + long(size - start), it->second.known.end(), false);
        ++it;
    }
    return true;
}

bool SparseFile::FlushToDisk() { return !Failing(); }
