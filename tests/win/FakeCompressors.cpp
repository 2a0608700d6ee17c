#include "tests/win/FakeCompressors.h"

#include <array>
#include <mutex>
#include <utility>

namespace {

// The platform asks an installed compressor for its description without
// opening it (driver id 0), so each fake has a driver function of its own
// that knows which slot, and so which handler code, it is.
constexpr size_t SlotCount = 40;

struct Slot {
    bool used = false;
    DWORD handler = 0;
    AcceptRule accepts;
    std::vector<std::pair<long, long>> queries;
};

std::mutex g_lock;
std::array<Slot, SlotCount> g_slots;

LRESULT Describe(size_t slot, ICINFO* info) {
    std::lock_guard<std::mutex> guard(g_lock);
    *info = ICINFO{};
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = g_slots[slot].handler;
    MultiByteToWideChar(CP_ACP, 0, "Fake", -1, info->szName, 16);
    MultiByteToWideChar(CP_ACP, 0, "Fake compressor", -1, info->szDescription, 128);
    return sizeof(ICINFO);
}

LRESULT Query(size_t slot, const BITMAPINFOHEADER* input) {
    std::lock_guard<std::mutex> guard(g_lock);
    Slot& s = g_slots[slot];
    s.queries.emplace_back(input->biWidth, input->biHeight);
    return s.accepts(*input) ? ICERR_OK : ICERR_BADFORMAT;
}

template <size_t N>
LRESULT CALLBACK FakeDriverProc(DWORD_PTR, HDRVR, UINT message, LPARAM lParam1, LPARAM) {
    switch (message) {
        case ICM_GETINFO:
            return Describe(N, reinterpret_cast<ICINFO*>(lParam1));
        case ICM_COMPRESS_QUERY:
            return Query(N, reinterpret_cast<const BITMAPINFOHEADER*>(lParam1));
        default:
            return message < DRV_RESERVED ? 1 : ICERR_UNSUPPORTED;
    }
}

template <size_t... N>
constexpr std::array<DRIVERPROC, SlotCount> MakeProcs(std::index_sequence<N...>) {
    return {&FakeDriverProc<N>...};
}
constexpr std::array<DRIVERPROC, SlotCount> g_procs =
    MakeProcs(std::make_index_sequence<SlotCount>{});

}  // namespace

DWORD Fourcc(const char code[4]) { return mmioFOURCC(code[0], code[1], code[2], code[3]); }

FakeCompressor::FakeCompressor(const char fourcc[4], AcceptRule accepts)
    : m_handler(Fourcc(fourcc)) {
    std::lock_guard<std::mutex> guard(g_lock);
    for (m_slot = 0; g_slots[m_slot].used; ++m_slot) {
    }
    g_slots[m_slot] = Slot{true, m_handler, std::move(accepts), {}};
    ICInstall(ICTYPE_VIDEO, m_handler, reinterpret_cast<LPARAM>(g_procs[m_slot]), nullptr,
              ICINSTALL_FUNCTION);
}

FakeCompressor::~FakeCompressor() {
    ICRemove(ICTYPE_VIDEO, m_handler, 0);
    std::lock_guard<std::mutex> guard(g_lock);
    g_slots[m_slot] = Slot{};
}

ICINFO InstalledInfo(DWORD handler) {
    ICINFO info{};
    info.dwSize = sizeof info;
    info.fccType = ICTYPE_VIDEO;
    info.fccHandler = handler;
    return info;
}

ICINFO FakeCompressor::Info() const { return InstalledInfo(m_handler); }

std::vector<std::pair<long, long>> FakeCompressor::Queries() const {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_slots[m_slot].queries;
}
