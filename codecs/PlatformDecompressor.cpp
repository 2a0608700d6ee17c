#include "codecs/PlatformDecompressor.h"

PlatformDecompressor::~PlatformDecompressor() {
    if (m_driver) CloseDriver(m_driver, 0, 0);
}

bool PlatformDecompressor::Handles(UINT message) {
    switch (message) {
        case ICM_DECOMPRESS_QUERY:
        case ICM_DECOMPRESS_GET_FORMAT:
        case ICM_DECOMPRESS_GET_PALETTE:
        case ICM_DECOMPRESS_SET_PALETTE:
        case ICM_DECOMPRESS_BEGIN:
        case ICM_DECOMPRESS:
        case ICM_DECOMPRESS_END:
        case ICM_DECOMPRESSEX_QUERY:
        case ICM_DECOMPRESSEX_BEGIN:
        case ICM_DECOMPRESSEX:
        case ICM_DECOMPRESSEX_END:
            return true;
        default:
            return false;
    }
}

LRESULT PlatformDecompressor::Send(UINT message, LPARAM lParam1, LPARAM lParam2) {
    if (!m_tried) {
        m_tried = true;
        ICOPEN open{};
        open.dwSize = sizeof open;
        open.fccType = ICTYPE_VIDEO;
        open.fccHandler = mmioFOURCC('M', 'S', 'V', 'C');
        open.dwFlags = ICMODE_DECOMPRESS;
        m_driver = OpenDriver(L"msvidc32.dll", nullptr, reinterpret_cast<LPARAM>(&open));
    }
    if (!m_driver) return ICERR_UNSUPPORTED;
    return SendDriverMessage(m_driver, message, lParam1, lParam2);
}
