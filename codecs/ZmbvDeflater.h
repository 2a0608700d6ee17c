// The encoder's zlib stream: one per key-frame span, each frame ending on a
// sync flush so that a decoder can inflate it on its own.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class ZmbvDeflater {
public:
    ZmbvDeflater() = default;
    ~ZmbvDeflater();
    ZmbvDeflater(const ZmbvDeflater&) = delete;
    ZmbvDeflater& operator=(const ZmbvDeflater&) = delete;

    // Starts afresh with a zlib level of 1..9; false if zlib refuses.
    bool Start(int level);
    // Begins a new stream, as each key frame must.
    void Restart();
    // The level for what is compressed from now on, within the stream.
    bool UseLevel(int level);
    // Appends the compressed `data` to `out`, flushed to a byte boundary.
    bool Compress(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

private:
    z_stream m_stream{};
    bool m_open = false;
    int m_level = 0;
};
