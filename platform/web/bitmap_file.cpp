// Bitmap files for GL textures: uncompressed 24- and 32-bit BMP (the kinds the
// media generator writes), read without a library. Every size is checked
// against the file's length before a byte is read.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/gl/gl_bitmap.h"

namespace {

constexpr long kMaxFileBytes = 64L << 20;
constexpr int32_t kMaxSide = 16384;

uint32_t Read32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    return ok;
}

}  // namespace

bool LoadRgbaBitmap(const std::string& path, GlBitmap* out) {
    std::vector<unsigned char> file;
    if (!ReadWholeFile(path, &file) || file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M') return false;
    const unsigned char* info = file.data() + 14;
    uint32_t pixelsAt = Read32(file.data() + 10);
    uint32_t infoSize = Read32(info);
    int32_t width = static_cast<int32_t>(Read32(info + 4));
    int32_t height = static_cast<int32_t>(Read32(info + 8));
    uint16_t planes = Read16(info + 12), bits = Read16(info + 14);
    uint32_t compression = Read32(info + 16);
    if (infoSize < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0) return false;
    bool topDown = height < 0;
    if (topDown) height = height == INT32_MIN ? 0 : -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    const uint64_t bytesPerPixel = bits / 8u;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bytesPerPixel + 3) & ~uint64_t{3};
    if (pixelsAt < 14 + infoSize || pixelsAt + rowBytes * static_cast<uint64_t>(height) > file.size()) return false;
    out->width = width;
    out->height = height;
    out->rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int32_t y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const int32_t sourceRow = topDown ? y : height - 1 - y;
        const unsigned char* source = file.data() + pixelsAt + rowBytes * static_cast<uint64_t>(sourceRow);
        unsigned char* target = out->rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int32_t x = 0; x < width; ++x, source += bytesPerPixel, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = 255;  // BI_RGB carries no alpha
        }
    }
    return true;
}
