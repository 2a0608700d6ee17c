#include "options/CompressorCatalogue.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "codecs/BuiltInCompressors.h"
#include "engine/Mp4Recording.h"
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
bool Accepts(ICINFO& entry, BITMAPINFOHEADER& format) {
    HIC compressor = ICOpen(entry.fccType, entry.fccHandler, ICMODE_QUERY);
    if (!compressor) return false;
    const bool accepted = ICSendMessage(compressor, ICM_COMPRESS_QUERY,
                                        reinterpret_cast<DWORD_PTR>(&format), 0) == ICERR_OK;
    if (accepted) ICGetInfo(compressor, &entry, sizeof entry);
    ICClose(compressor);
    return accepted;
}

DWORD UpperCase(DWORD code) {
    DWORD upper = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int c = static_cast<int>((code >> shift) & 0xFF);
        upper |= static_cast<DWORD>(std::toupper(c)) << shift;
    }
    return upper;
}

// The compressor manager matches handlers whatever their case, so a listing
// of the platform's with a built-in's handler (its 'msvc') opens ours, which
// the catalogue has already listed.
bool IsBuiltIn(DWORD handler) {
    const auto& builtIns = BuiltInHandlers();
    return std::any_of(builtIns.begin(), builtIns.end(),
                       [&](DWORD own) { return UpperCase(own) == UpperCase(handler); });
}

// Our encoder codes the grabs of a 16, 24 or 32-bit screen.
bool H264TakesDepth(int bitCount) { return bitCount == 16 || bitCount == 24 || bitCount == 32; }

ICINFO H264Mp4Entry() {
    ICINFO entry{};
    entry.dwSize = sizeof entry;
    entry.fccType = ICTYPE_VIDEO;
    entry.fccHandler = FourccH264Mp4;
    MultiByteToWideChar(CP_ACP, 0, H264Mp4Name, -1, entry.szName, int(std::size(entry.szName)));
    MultiByteToWideChar(CP_ACP, 0, H264Mp4Name, -1, entry.szDescription,
                        int(std::size(entry.szDescription)));
    return entry;
}

}  // namespace

// Recording straight to MP4 comes first, then the built-ins, whatever the
// platform's order: a new user's choice, position 0, makes a film that
// Windows' own players, browsers and phones play.
void CompressorCatalogue::Build(RecordSettings& settings) {
    BITMAPINFOHEADER format = ScreenProbeFormat();
    if (H264TakesDepth(format.biBitCount)) Take(H264Mp4Entry(), settings);
    for (DWORD handler : BuiltInHandlers()) {
        ICINFO& entry = m_entries[m_count];
        entry = ICINFO{};
        entry.fccType = ICTYPE_VIDEO;
        entry.fccHandler = handler;
        TakeIfAccepting(format, settings);
    }
    for (DWORD i = 0; m_count < Capacity; ++i) {
        ICINFO& entry = m_entries[m_count];
        if (!ICInfo(ICTYPE_VIDEO, i, &entry)) break;
        if (!IsBuiltIn(entry.fccHandler)) TakeIfAccepting(format, settings);
    }
}

void CompressorCatalogue::TakeIfAccepting(BITMAPINFOHEADER& format, RecordSettings& settings) {
    if (Accepts(m_entries[m_count], format)) Take(m_entries[m_count], settings);
}

void CompressorCatalogue::Take(const ICINFO& entry, RecordSettings& settings) {
    m_entries[m_count] = entry;
    if (m_count == settings.CurCompressor) settings.CurCompressorHandler = entry.fccHandler;
    ++m_count;
}

const ICINFO* CompressorCatalogue::Chosen(int curCompressor) const {
    if (curCompressor < 0 || curCompressor >= m_count) return nullptr;
    return &m_entries[curCompressor];
}
