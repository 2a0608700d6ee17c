#include "engine/CompressorFitting.h"

namespace {

// Pads one side to a multiple of 4; returns how far its start moves back.
int PadSide(int& size) {
    const int added = (4 - size % 4) % 4;
    size += added;
    return added >= 2 ? 1 : 0;
}

}  // namespace

bool IsDivHandler(uint32_t fccHandler) { return (fccHandler & 0x00FFFFFF) == 0x564944; }

CaptureArea PadForDivHandler(const CaptureArea& area) {
    CaptureArea padded = area;
    padded.left -= PadSide(padded.width);
    padded.top -= PadSide(padded.height);
    return padded;
}

int AlignSize(int size, int alignment, int screenSize) {
    const int below = size - size % alignment;
    if (below == size) return size;
    const int above = below + alignment;
    return above > screenSize ? below : above;
}

FitResult FitToCompressor(int width, int height, int screenWidth, int screenHeight,
                          const std::function<bool(int, int)>& accepts) {
    if (accepts(width, height)) return {width, height, true};
    FitResult tried{width, height, false};
    for (int alignment : {2, 4, 8}) {
        tried.width = AlignSize(width, alignment, screenWidth);
        tried.height = AlignSize(height, alignment, screenHeight);
        if (accepts(tried.width, tried.height)) {
            tried.accepted = true;
            return tried;
        }
    }
    return tried;
}
