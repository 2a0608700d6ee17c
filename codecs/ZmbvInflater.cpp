#include "codecs/ZmbvInflater.h"

#include <algorithm>

namespace {

constexpr size_t FirstBuffer = 64 * 1024;

}  // namespace

ZmbvInflater::~ZmbvInflater() {
    if (m_open) inflateEnd(&m_stream);
}

bool ZmbvInflater::Restart() {
    if (m_open) return inflateReset(&m_stream) == Z_OK;
    m_stream = z_stream{};
    m_open = inflateInit(&m_stream) == Z_OK;
    return m_open;
}

// Doubles the buffer, up to one byte past `limit` (room to see there is too much).
bool ZmbvInflater::Grow(std::vector<uint8_t>& buffer, size_t size, size_t limit) const {
    const size_t most = std::min<size_t>(limit + 1, UINT32_MAX);
    if (buffer.size() >= most) return false;
    const size_t first = std::max(FirstBuffer, size * 4);
    buffer.resize(std::min(most, std::max(first, buffer.size() * 2)));
    return true;
}

bool ZmbvInflater::Inflate(const uint8_t* data, size_t size, size_t limit,
                           std::vector<uint8_t>& buffer, size_t& produced) {
    produced = 0;
    if (!m_open || size == 0 || size > UINT32_MAX) return false;
    m_stream.next_in = const_cast<Bytef*>(data);  // zlib's old API; it does not write there
    m_stream.avail_in = static_cast<uInt>(size);
    for (;;) {
        if (produced == buffer.size() && !Grow(buffer, size, limit)) return false;
        const size_t room = std::min<size_t>(buffer.size() - produced, UINT32_MAX);
        m_stream.next_out = buffer.data() + produced;
        m_stream.avail_out = static_cast<uInt>(room);
        const int result = inflate(&m_stream, Z_SYNC_FLUSH);
        produced += room - m_stream.avail_out;
        if (result != Z_OK && result != Z_BUF_ERROR && result != Z_STREAM_END) return false;
        // Room left over: zlib took all it could.
        if (result == Z_STREAM_END || m_stream.avail_out > 0) break;
    }
    return m_stream.avail_in == 0 && produced <= limit;
}
