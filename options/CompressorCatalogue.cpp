#include "options/CompressorCatalogue.h"

#include "framework/ScopedHandles.h"

namespace {

// The header of an uncompressed 1024 x 768 frame at the screen's depth.
BITMAPINFOHEADER ScreenProbeFormat() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ScopedWindowDC screen(nullptr);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 1024, 768));
    GetDIBits(screen.Get(), bitmap.Get(), 0, 0, nullptr, &info, DIB_RGB_COLORS);
    info.bmiHeader.biCompression = BI_RGB;
    return info.bmiHeader;
}

// Fills the entry from the compressor when it accepts the format.
bool TakeIfAccepting(ICINFO& entry, BITMAPINFOHEADER& format) {
    HIC compressor = ICOpen(entry.fccType, entry.fccHandler, ICMODE_QUERY);
    if (!compressor) return false;
    const bool accepted = ICSendMessage(compressor, ICM_COMPRESS_QUERY,
                                        reinterpret_cast<DWORD_PTR>(&format), 0) == ICERR_OK;
    if (accepted) ICGetInfo(compressor, &entry, sizeof entry);
    ICClose(compressor);
    return accepted;
}

}  // namespace

void CompressorCatalogue::Build(RecordSettings& settings) {
    BITMAPINFOHEADER format = ScreenProbeFormat();
    for (DWORD i = 0; m_count < Capacity; ++i) {
        ICINFO& entry = m_entries[m_count];
        if (!ICInfo(ICTYPE_VIDEO, i, &entry)) break;
        if (!TakeIfAccepting(entry, format)) continue;
        if (m_count == settings.CurCompressor) settings.CurCompressorHandler = entry.fccHandler;
        ++m_count;
    }
}

const ICINFO* CompressorCatalogue::Chosen(int curCompressor) const {
    if (curCompressor < 0 || curCompressor >= m_count) return nullptr;
    return &m_entries[curCompressor];
}
