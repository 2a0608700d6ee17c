#include "codecs/BuiltInCompressors.h"

#include "codecs/Video1Driver.h"

bool InstallBuiltInCompressors() {
    static const bool installed = ICInstall(ICTYPE_VIDEO, mmioFOURCC('M', 'S', 'V', 'C'),
                                            reinterpret_cast<LPARAM>(&Video1DriverProc), nullptr,
                                            ICINSTALL_FUNCTION) != FALSE;
    return installed;
}
