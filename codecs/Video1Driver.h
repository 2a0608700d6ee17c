// The built-in Video 1 ('MSVC') compressor as an installable-compressor driver
// procedure, for ICInstall with ICINSTALL_FUNCTION. It compresses 16, 24 and
// 32-bit BI_RGB frames, which the platform's own Video 1 refuses, and hands
// decompression on to the platform's driver.
#pragma once

#include <windows.h>

#include <vfw.h>

LRESULT CALLBACK Video1DriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM lParam1,
                                  LPARAM lParam2);
