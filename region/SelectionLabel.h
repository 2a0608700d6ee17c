// Text of the coordinate label shown beside the selection.
#pragma once

#include <string>

#include "framework/PixelRect.h"

// The label's code page: its text is stored in the GBK character set.
constexpr unsigned LabelCodePage = 936;

// "X=left Y=top 宽：width 高：height)" for the inclusive rectangle, in code page 936.
std::string FormatLabelText(const PixelRect& inclusive);
