#include "platform/shared/bmp_image.h"

#include <utility>

namespace {
uint32_t Read16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Read32(const uint8_t* p) { return Read16(p) | Read16(p + 2) << 16; }

bool Fail(const char** reason, const char* text) {
    if (reason) *reason = text;
    return false;
}

constexpr size_t kFileHeader = 14;
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
}  // namespace

bool ReadBmp(const uint8_t* bytes, size_t size, BmpImage* image, const char** reason) {
    *image = BmpImage{};
    if (size < kFileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') return Fail(reason, "not a bitmap");
    const uint32_t pixelOffset = Read32(bytes + 10);
    const uint8_t* info = bytes + kFileHeader;
    const uint32_t infoSize = Read32(info);
    // The Windows info header's versions 1 to 5; any other size leaves unclear
    // where the colour masks lie.
    if ((infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) ||
        infoSize > size - kFileHeader)
        return Fail(reason, "bad header size");
    const int32_t width = static_cast<int32_t>(Read32(info + 4));
    const int32_t signedHeight = static_cast<int32_t>(Read32(info + 8));
    const uint32_t planes = Read16(info + 12), bits = Read16(info + 14), compression = Read32(info + 16);
    uint32_t paletteCount = Read32(info + 32);
    if (planes != 1) return Fail(reason, "bad plane count");
    if (bits != 8 && bits != 24 && bits != 32) return Fail(reason, "unsupported bit depth");
    // 32-bit bitfields are taken only with the usual masks, which read as plain BGRA.
    bool bitfields = compression == kBiBitfields && bits == 32;
    if (compression != kBiRgb && !bitfields) return Fail(reason, "compressed bitmaps are not supported");
    // A plain 32-bit file keeps its fourth byte as alpha unless all are zero,
    // the mark of writers that leave it unused; a bitfields file has alpha
    // exactly when its header (version 3 on) names that byte.
    bool alphaByte = bits == 32;
    if (bitfields) {
        // Right after version 1's fields: in the header from version 2 on, after it before.
        const size_t masksAt = kFileHeader + 40;
        if (masksAt + 12 > size) return Fail(reason, "truncated colour masks");
        if (Read32(bytes + masksAt) != 0x00FF0000u || Read32(bytes + masksAt + 4) != 0x0000FF00u ||
            Read32(bytes + masksAt + 8) != 0x000000FFu)
            return Fail(reason, "unsupported colour masks");
        const uint32_t alphaMask = infoSize >= 56 ? Read32(info + 52) : 0;
        if (alphaMask != 0 && alphaMask != 0xFF000000u) return Fail(reason, "unsupported colour masks");
        alphaByte = alphaMask != 0;
    }
    if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return Fail(reason, "bad size");
    const bool topDown = signedHeight < 0;
    const uint32_t w = static_cast<uint32_t>(width);
    const uint32_t h = static_cast<uint32_t>(topDown ? -signedHeight : signedHeight);
    if (w > kBmpSideLimit || h > kBmpSideLimit) return Fail(reason, "bitmap too large");

    // Where the headers, the masks after a short header and the palette end.
    size_t headersEnd = kFileHeader + infoSize + (bitfields && infoSize == 40 ? 12 : 0);
    const uint8_t* palette = nullptr;
    if (bits == 8) {
        if (paletteCount == 0) paletteCount = 256;
        if (paletteCount > 256) return Fail(reason, "bad palette size");
        const size_t paletteAt = kFileHeader + infoSize;
        if (paletteAt + size_t(paletteCount) * 4 > size) return Fail(reason, "truncated palette");
        palette = bytes + paletteAt;
        headersEnd = paletteAt + size_t(paletteCount) * 4;
    }
    // Pixels said to start within the headers would show the headers' bytes.
    if (pixelOffset < headersEnd) return Fail(reason, "pixels overlap the header");
    const size_t rowBytes = (size_t(w) * bits / 8 + 3) & ~size_t(3);
    if (pixelOffset > size || rowBytes * h > size - pixelOffset) return Fail(reason, "truncated pixels");

    // Filled aside so that a pixel found bad halfway leaves the caller's image empty.
    BmpImage decoded;
    decoded.width = w;
    decoded.height = h;
    decoded.bgra.resize(size_t(w) * h * 4);
    bool anyAlpha = false;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = bytes + pixelOffset + rowBytes * (topDown ? y : h - 1 - y);
        uint8_t* out = decoded.bgra.data() + size_t(y) * w * 4;
        for (uint32_t x = 0; x < w; ++x, out += 4) {
            if (bits == 8) {
                if (row[x] >= paletteCount) return Fail(reason, "pixel outside the palette");
                const uint8_t* entry = palette + size_t(row[x]) * 4;
                out[0] = entry[0], out[1] = entry[1], out[2] = entry[2], out[3] = 255;
            } else if (bits == 24) {
                const uint8_t* p = row + size_t(x) * 3;
                out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
            } else {
                const uint8_t* p = row + size_t(x) * 4;
                out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = alphaByte ? p[3] : 255;
                anyAlpha = anyAlpha || out[3] != 0;
            }
        }
    }
    if (bits == 32 && !bitfields && !anyAlpha)
        for (size_t i = 3; i < decoded.bgra.size(); i += 4) decoded.bgra[i] = 255;
    *image = std::move(decoded);
    return true;
}
