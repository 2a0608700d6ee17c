// brzmbv.dll: the ZMBV driver as a codec library of its own. Registered as
// "vidc.zmbv" under the Drivers32 key, it lets any program's compressor
// manager decode (and write) our recordings, not only our own process.
#include <windows.h>

#include "codecs/ZmbvDriver.h"

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM lParam1,
                                     LPARAM lParam2) {
    return ZmbvDriverProc(driverId, driver, message, lParam1, lParam2);
}
