// The installed video compressors that accept frames of the screen's pixel
// format, built once at start-up.
#pragma once

#include <windows.h>

#include <vfw.h>

#include "settings/RecordSettings.h"

class CompressorCatalogue {
public:
    static constexpr int Capacity = 30;

    // Lists the compressors that accept an uncompressed 1024 x 768 frame at
    // the screen's depth, at most 30: the MP4 recording's H.264 entry, the
    // built-in ones in their own order, then the platform's others in its
    // order; and sets CurCompressorHandler to the handler at position
    // CurCompressor.
    void Build(RecordSettings& settings);

    int Count() const { return m_count; }
    const ICINFO& Entry(int index) const { return m_entries[index]; }

    // The entry chosen by CurCompressor, or null when none is chosen: a
    // negative value, or one at or past the count.
    const ICINFO* Chosen(int curCompressor) const;

private:
    // Keeps the compressor of the entry at position count if it accepts the format.
    void TakeIfAccepting(BITMAPINFOHEADER& format, RecordSettings& settings);
    // Adds the entry at position count.
    void Take(const ICINFO& entry, RecordSettings& settings);

    ICINFO m_entries[Capacity] = {};
    int m_count = 0;
};
