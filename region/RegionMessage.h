// The message that carries a selected region to its owner window, and the
// packing of the inclusive rectangle into its parameters: wParam holds left
// (low half) and top (high half), lParam right and bottom, each a signed
// 16-bit value.
#pragma once

#include <cstdint>

#include "framework/PixelRect.h"

constexpr unsigned WM_USER_REGIONSELECTED = 0x0400 + 100;  // WM_USER + 100
// Posted instead when the user calls the selection off; no parameters.
constexpr unsigned WM_USER_REGIONCANCELLED = 0x0400 + 102;  // WM_USER + 102

struct RegionParams {
    uint32_t wParam, lParam;
};

RegionParams PackRegion(const PixelRect& inclusive);

// Reads the low 32 bits of each parameter and sign-extends every half.
PixelRect UnpackRegion(uint64_t wParam, uint64_t lParam);
