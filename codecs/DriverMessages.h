// The installable-driver messages that every built-in compressor answers
// alike (load, enable, install, configure and their opposites).
#pragma once

#include <windows.h>

#include <mmsystem.h>

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
