#include "codecs/ZmbvDeflater.h"

ZmbvDeflater::~ZmbvDeflater() {
    if (m_open) deflateEnd(&m_stream);
}

bool ZmbvDeflater::Start(int level) {
    if (m_open) deflateEnd(&m_stream);
    m_stream = z_stream{};
    m_open = deflateInit(&m_stream, level) == Z_OK;
    m_level = level;
    return m_open;
}

void ZmbvDeflater::Restart() {
    if (m_open) deflateReset(&m_stream);
}

bool ZmbvDeflater::UseLevel(int level) {
    if (!m_open) return false;
    if (level == m_level) return true;
    // Every frame ends flushed, so nothing is pending that the old level would still take.
    if (deflateParams(&m_stream, level, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    m_level = level;
    return true;
}

bool ZmbvDeflater::Compress(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    if (!m_open || size > UINT32_MAX) return false;
    m_stream.next_in = const_cast<Bytef*>(data);  // zlib's old API; it does not write there
    m_stream.avail_in = static_cast<uInt>(size);
    size_t used = out.size();
    // A sync flush is done once zlib leaves room in the output; grow until then.
    do {
        out.resize(used + size / 2 + 1024);
        m_stream.next_out = out.data() + used;
        m_stream.avail_out = static_cast<uInt>(out.size() - used);
        const int result = deflate(&m_stream, Z_SYNC_FLUSH);
        if (result != Z_OK && result != Z_BUF_ERROR) return false;
        used = out.size() - m_stream.avail_out;
    } while (m_stream.avail_out == 0);
    out.resize(used);
    return m_stream.avail_in == 0;
}
