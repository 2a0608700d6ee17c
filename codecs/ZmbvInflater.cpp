#include "codecs/ZmbvInflater.h"

ZmbvInflater::~ZmbvInflater() {
    if (m_open) inflateEnd(&m_stream);
}

bool ZmbvInflater::Restart() {
    if (m_open) return inflateReset(&m_stream) == Z_OK;
    m_stream = z_stream{};
    m_open = inflateInit(&m_stream) == Z_OK;
    return m_open;
}

bool ZmbvInflater::Inflate(const uint8_t* data, size_t size, uint8_t* out, size_t capacity,
                           size_t& produced) {
    produced = 0;
    if (!m_open || size == 0 || size > UINT32_MAX || capacity > UINT32_MAX) return false;
    m_stream.next_in = const_cast<Bytef*>(data);  // zlib's old API; it does not write there
    m_stream.avail_in = static_cast<uInt>(size);
    m_stream.next_out = out;
    m_stream.avail_out = static_cast<uInt>(capacity);
    int result = Z_OK;
    while (m_stream.avail_in > 0 && m_stream.avail_out > 0 && result == Z_OK) {
        const uInt before = m_stream.avail_in + m_stream.avail_out;
        result = inflate(&m_stream, Z_SYNC_FLUSH);
        if (result == Z_OK && m_stream.avail_in + m_stream.avail_out == before) return false;
    }
    produced = capacity - m_stream.avail_out;
    return (result == Z_OK || result == Z_STREAM_END) && m_stream.avail_in == 0;
}
