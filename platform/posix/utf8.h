// Internal to the platform layer: one code point as UTF-8, for the wide
// strings of the back ends that lack Windows. Their wchar_t is 32 bits, so a
// wide string holds code points, and a surrogate in one is a lone half.
#pragma once

#include <cstdint>

// Writes the UTF-8 bytes of the code point into out (room for four) and
// returns how many; 0, writing nothing, for a surrogate (U+D800..U+DFFF) or
// anything beyond U+10FFFF, which UTF-8 cannot carry.
int EncodeUtf8(uint32_t codePoint, char* out);
