// The decoder's zlib stream, reset at each key frame. It takes one frame's
// compressed bytes at a time. Its output buffer grows with what the input
// really inflates to, so a few bytes claiming a huge picture cost little.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class ZmbvInflater {
public:
    ZmbvInflater() = default;
    ~ZmbvInflater();
    ZmbvInflater(const ZmbvInflater&) = delete;
    ZmbvInflater& operator=(const ZmbvInflater&) = delete;

    // Begins a new stream; false if zlib refuses.
    bool Restart();
    // Inflates all of `data` into the start of `buffer`, growing it (never
    // shrinking) as output comes, and sets `produced`. False on a zlib
    // error, input left over, or more than `limit` bytes of output.
    bool Inflate(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& buffer,
                 size_t& produced);

private:
    bool Grow(std::vector<uint8_t>& buffer, size_t size, size_t limit) const;

    z_stream m_stream{};
    bool m_open = false;
};
