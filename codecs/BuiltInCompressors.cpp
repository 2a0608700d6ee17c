#include "codecs/BuiltInCompressors.h"

#include <vfw.h>

#include "codecs/Video1Driver.h"
#include "codecs/ZmbvDriver.h"

namespace {

constexpr DWORD Zmbv = mmioFOURCC('Z', 'M', 'B', 'V');
constexpr DWORD Msvc = mmioFOURCC('M', 'S', 'V', 'C');

bool Install(DWORD handler, DRIVERPROC proc) {
    return ICInstall(ICTYPE_VIDEO, handler, reinterpret_cast<LPARAM>(proc), nullptr,
                     ICINSTALL_FUNCTION) != FALSE;
}

}  // namespace

const std::array<DWORD, 2>& BuiltInHandlers() {
    static const std::array<DWORD, 2> handlers = {Zmbv, Msvc};
    return handlers;
}

bool InstallBuiltInCompressors() {
    static const bool installed = [] {
        const bool zmbv = Install(Zmbv, &ZmbvDriverProc);
        const bool video1 = Install(Msvc, &Video1DriverProc);
        return zmbv && video1;
    }();
    return installed;
}
