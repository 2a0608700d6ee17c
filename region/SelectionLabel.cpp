#include "region/SelectionLabel.h"

#include <cstdio>

namespace {

// "X=%d Y=%d 宽：%d 高：%d)" in code page 936 (宽 BF ED, 高 B8 DF, full-width colon A3 BA).
constexpr char LabelFormat[] = "X=%d Y=%d \xBF\xED\xA3\xBA%d \xB8\xDF\xA3\xBA%d)";

}  // namespace

std::string FormatLabelText(const PixelRect& r) {
    char text[96];
    std::snprintf(text, sizeof text, LabelFormat, r.left, r.top, r.right - r.left + 1,
                  r.bottom - r.top + 1);
    return text;
}
