// The decoder's zlib stream, reset at each key frame. It takes one frame's
// compressed bytes at a time and refuses anything that would not fit.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>

class ZmbvInflater {
public:
    ZmbvInflater() = default;
    ~ZmbvInflater();
    ZmbvInflater(const ZmbvInflater&) = delete;
    ZmbvInflater& operator=(const ZmbvInflater&) = delete;

    // Begins a new stream; false if zlib refuses.
    bool Restart();
    // Inflates all of `data` into `out`, which holds `capacity` bytes, and
    // sets `produced`. False on a zlib error or when input is left over, as
    // when the output fills `capacity`: give one byte more than allowed.
    bool Inflate(const uint8_t* data, size_t size, uint8_t* out, size_t capacity, size_t& produced);

private:
    z_stream m_stream{};
    bool m_open = false;
};
