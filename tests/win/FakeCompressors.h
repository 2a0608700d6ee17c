// Compressors installed for this process by tests, each with its own rule
// for which input formats it accepts; they record the sizes they are asked
// about and compress nothing (asking them to compress fails).
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

using AcceptRule = std::function<bool(const BITMAPINFOHEADER& input)>;

class FakeCompressor {
public:
    FakeCompressor(const char fourcc[4], AcceptRule accepts);
    ~FakeCompressor();
    FakeCompressor(const FakeCompressor&) = delete;
    FakeCompressor& operator=(const FakeCompressor&) = delete;

    DWORD Handler() const { return m_handler; }
    ICINFO Info() const;
    // Widths and heights of the input formats it was asked about.
    std::vector<std::pair<long, long>> Queries() const;

private:
    DWORD m_handler;
    size_t m_slot = 0;  // at most 40 fakes at a time
};

DWORD Fourcc(const char code[4]);
// The catalogue entry of a video compressor installed under this handler.
ICINFO InstalledInfo(DWORD handler);
