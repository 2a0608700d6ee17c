// What every built-in compressor's driver procedure answers alike: the
// installable-driver messages (load, enable, install, configure and their
// opposites), DWORD answers, and opening an instance.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <vfw.h>

#include <new>

// True when `message` is one of them; `result` is then the answer.
inline bool AnswerCommonDriverMessage(UINT message, LRESULT& result) {
    switch (message) {
        case DRV_LOAD:
        case DRV_FREE:
        case DRV_ENABLE:
        case DRV_DISABLE:
        case DRV_INSTALL:
        case DRV_REMOVE:
            result = DRV_OK;
            return true;
        case DRV_QUERYCONFIGURE:
            result = 0;  // nothing to configure
            return true;
        case DRV_CONFIGURE:
            result = DRV_CANCEL;
            return true;
        default:
            return false;
    }
}

// Answers a message that asks for one DWORD at lParam1.
inline LRESULT PutDword(LPARAM lParam1, DWORD value) {
    if (!lParam1) return ICERR_BADPARAM;
    *reinterpret_cast<DWORD*>(lParam1) = value;
    return ICERR_OK;
}

// DRV_OPEN: a new instance for video compression (the driver id the
// platform hands back with every later message), or 0 for other types.
template <class Instance>
LRESULT OpenDriverInstance(LPARAM lParam2) {
    auto* open = reinterpret_cast<ICOPEN*>(lParam2);
    if (open && open->fccType != ICTYPE_VIDEO) return 0;
    auto* self = new (std::nothrow) Instance;
    if (open) open->dwError = self ? ICERR_OK : ICERR_MEMORY;
    return reinterpret_cast<LRESULT>(self);
}
