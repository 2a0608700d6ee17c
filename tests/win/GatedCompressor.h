// The built-in ZMBV compressor behind a gate, installed for this process
// under a code of its own: every frame waits in the compressor until the
// gate is opened, so a test can hold the writing side of a recording still.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <atomic>

class GatedCompressor {
public:
    GatedCompressor();  // closed
    ~GatedCompressor();
    GatedCompressor(const GatedCompressor&) = delete;
    GatedCompressor& operator=(const GatedCompressor&) = delete;

    ICINFO Info() const;
    void Open();
    // How many frames have come to the gate, the one waiting at it included.
    int Arrived() const;
};
