#include "tests/win/GatedCompressor.h"

#include "codecs/ZmbvDriver.h"
#include "tests/win/FakeCompressors.h"

namespace {

constexpr DWORD GateHandler = mmioFOURCC('G', 'A', 'T', 'E');
HANDLE g_open = nullptr;  // manual-reset event, one gate at a time
std::atomic<int> g_arrived{0};

LRESULT CALLBACK GatedDriverProc(DWORD_PTR driverId, HDRVR driver, UINT message,
                                 LPARAM lParam1, LPARAM lParam2) {
    if (message == ICM_COMPRESS) {
        ++g_arrived;
        WaitForSingleObject(g_open, INFINITE);
    }
    return ZmbvDriverProc(driverId, driver, message, lParam1, lParam2);
}

}  // namespace

GatedCompressor::GatedCompressor() {
    g_open = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_arrived = 0;
    ICInstall(ICTYPE_VIDEO, GateHandler, reinterpret_cast<LPARAM>(&GatedDriverProc), nullptr,
              ICINSTALL_FUNCTION);
}

GatedCompressor::~GatedCompressor() {
    ICRemove(ICTYPE_VIDEO, GateHandler, 0);
    SetEvent(g_open);
    CloseHandle(g_open);
}

ICINFO GatedCompressor::Info() const { return InstalledInfo(GateHandler); }

void GatedCompressor::Open() { SetEvent(g_open); }

int GatedCompressor::Arrived() const { return g_arrived.load(); }
