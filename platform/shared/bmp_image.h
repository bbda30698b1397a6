// Reads the uncompressed Windows bitmaps the game ships (24-bit) and the other
// common uncompressed kinds: 32-bit, and 8-bit with a palette, stored bottom
// row first or top row first. Refuses compressed (RLE, JPEG, PNG) and 1, 4 and
// 16-bit bitmaps, sizes above kBmpSideLimit and any file shorter than its
// header says. Pure byte work: no file, no device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr uint32_t kBmpSideLimit = 16384;
// The largest file worth reading: a 32-bit bitmap of the largest sides, and headers.
inline constexpr size_t kBmpFileLimit = size_t{kBmpSideLimit} * kBmpSideLimit * 4 + 4096;

struct BmpImage {
    uint32_t width = 0, height = 0;
    // Top row first, four bytes a pixel in the order B, G, R, A: Direct3D's
    // D3DFMT_A8R8G8B8 in memory. Alpha is 255 unless a 32-bit file carries
    // one: a bitfields file when its header has an alpha mask, a plain one
    // unless its fourth bytes are all zero.
    std::vector<uint8_t> bgra;
};

// False with a short reason when the bytes are no bitmap this reader takes.
bool ReadBmp(const uint8_t* bytes, size_t size, BmpImage* image, const char** reason);
