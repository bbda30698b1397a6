// The kill count drawn as blue seven-segment digits: flat bars in the vertex
// batch, growing leftwards from the given x, drawn untextured without the effect.
#pragma once

#include <cstdint>

// Bar bits: 1 top, 2 upper left, 4 middle, 8 upper right, 16 lower left,
// 32 bottom, 64 lower right, 128 centre vertical (used by no digit).
inline constexpr int32_t kDigitMasks[10] = {0x7B, 0x48, 0x3D, 0x6D, 0x4E, 0x67, 0x76, 0x49, 0x7F, 0x4F};

// Counts above this show as this many nines' worth of digits: the place value
// of the digit loop must stay within int32.
inline constexpr int32_t kMaxShownCount = 999999999;

void DrawSegment(int32_t bit, float x, float y, float z, float w, float s);
void DrawNumber(int32_t n, float x, float y, float z, float w, float s);
float NumberWidth(int32_t n, float s);
