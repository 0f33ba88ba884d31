#pragma once

namespace core {

// number * numerator / denominator through a 64-bit product, rounded to the nearest whole
// number with halves away from zero; -1 when denominator is 0 or the result does not fit
// (the rounding of Win32 MulDiv, which font sizes rely on).
int MulDivRound(int number, int numerator, int denominator);

// Character height in pixels (negative: without internal leading) of a size in whole points.
int PointsToHeight(int points, int ppi);

// The size in whole points of a character height in pixels.
int HeightToPoints(int height, int ppi);

}  // namespace core
