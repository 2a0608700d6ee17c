// A lossless ZMBV ('ZMBV') compressor and decompressor as an
// installable-compressor driver procedure, for ICInstall with
// ICINSTALL_FUNCTION. It keeps its own previous frame on both sides.
#pragma once

#include <windows.h>

#include <vfw.h>

LRESULT CALLBACK ZmbvDriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM lParam1,
                                LPARAM lParam2);
