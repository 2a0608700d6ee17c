// Fitting the recorded rectangle to what a compressor accepts.
#pragma once

#include <cstdint>
#include <functional>

struct CaptureArea {
    int left, top, width, height;
};

constexpr uint32_t FourccMSVC = 0x4356534D;  // 'MSVC', the default compressor

// Handlers whose code starts with "DIV" want sizes in multiples of 4.
bool IsDivHandler(uint32_t fccHandler);

// Pads width and height up to multiples of 4; when 2 or 3 pixels are added
// to a side, the rectangle moves one pixel back so they are shared.
CaptureArea PadForDivHandler(const CaptureArea& area);

// A size raised to the next multiple of the alignment, or lowered to the one
// below when raising it would pass the screen's edge.
int AlignSize(int size, int alignment, int screenSize);

struct FitResult {
    int width, height;
    bool accepted;  // false: no size was accepted; width and height are the last tried
};

// Asks `accepts` for the size as it is, then for the sizes aligned to 2, 4
// and 8, stopping at the first it accepts. `accepts` takes a probe frame of
// the size and queries the compressor.
FitResult FitToCompressor(int width, int height, int screenWidth, int screenHeight,
                          const std::function<bool(int width, int height)>& accepts);
