// The portable rectangle as the platform's RECT and back, edge for edge.
#pragma once

#include <windows.h>

#include "framework/PixelRect.h"

inline RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline PixelRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
