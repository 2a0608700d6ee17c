#include "region/RegionMessage.h"

namespace {

uint32_t PackHalves(int low, int high) {
    return static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
}

int LowHalf(uint64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }
int HighHalf(uint64_t v) { return LowHalf(v >> 16); }

}  // namespace

RegionParams PackRegion(const PixelRect& r) {
    return {PackHalves(r.left, r.top), PackHalves(r.right, r.bottom)};
}

PixelRect UnpackRegion(uint64_t wParam, uint64_t lParam) {
    return {LowHalf(wParam), HighHalf(wParam), LowHalf(lParam), HighHalf(lParam)};
}
