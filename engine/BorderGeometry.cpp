#include "engine/BorderGeometry.h"

namespace {

constexpr int ArmNear = 36;  // each cut starts this far from the outer box's near edge
constexpr int ArmFar = 41;   // and ends this far before its far edge

}  // namespace

BorderShape ComputeBorderShape(int left, int top, int width, int height) {
    BorderShape s{};
    s.outer = {0, 0, width + 2 * BorderBand - 1, height + 2 * BorderBand - 1};
    s.hole = {BorderBand, BorderBand, width + BorderBand, height + BorderBand};
    s.horizontalCut = {0, ArmNear, s.outer.right, s.outer.bottom - ArmFar};
    s.verticalCut = {ArmNear, 0, s.outer.right - ArmFar, s.outer.bottom};
    s.hasHorizontalCut = !s.horizontalCut.IsEmpty();
    s.hasVerticalCut = !s.verticalCut.IsEmpty();
    s.offsetX = left - BorderBand;
    s.offsetY = top - BorderBand;
    return s;
}

bool BorderIsPaintable(int left, int top, int right, int bottom) {
    return left < right && top < bottom;
}
