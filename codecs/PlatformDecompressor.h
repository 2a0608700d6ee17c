// The platform's own Video 1 driver, opened by file for decompression. Our
// compressor takes the 'MSVC' handler for this process, which hides the
// platform's driver from ICOpen and ICLocate (measured under Wine 8: the
// process's function wins over the registry for every mode), so our driver
// hands decompression messages on to it and playback keeps working.
#pragma once

#include <windows.h>

#include <vfw.h>

class PlatformDecompressor {
public:
    PlatformDecompressor() = default;
    ~PlatformDecompressor();
    PlatformDecompressor(const PlatformDecompressor&) = delete;
    PlatformDecompressor& operator=(const PlatformDecompressor&) = delete;

    static bool Handles(UINT message);
    // Passes the message on, opening the driver at the first one.
    LRESULT Send(UINT message, LPARAM lParam1, LPARAM lParam2);

private:
    HDRVR m_driver = nullptr;
    bool m_tried = false;
};
