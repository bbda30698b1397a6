#include <algorithm>
#include <cmath>

#include "generated_media.h"

void Image::Set(int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    p[0] = uint8_t(std::clamp(r, 0, 255));
    p[1] = uint8_t(std::clamp(g, 0, 255));
    p[2] = uint8_t(std::clamp(b, 0, 255));
}

namespace {

// Integer hash noise in 0..255: no floating point, no library generator.
int Noise(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return int((h ^ (h >> 16)) & 0xFF);
}

// Noise on a coarse grid, blended bilinearly: soft blotches.
int SmoothNoise(int x, int y, int cell, uint32_t seed) {
    int cx = x / cell, cy = y / cell, fx = x % cell, fy = y % cell;
    int top = Noise(cx, cy, seed) * (cell - fx) + Noise(cx + 1, cy, seed) * fx;
    int bottom = Noise(cx, cy + 1, seed) * (cell - fx) + Noise(cx + 1, cy + 1, seed) * fx;
    return (top * (cell - fy) + bottom * fy) / (cell * cell);
}

}  // namespace

// Four stone slabs with dark grout, lit from the top left.
Image DrawTiles() {
    constexpr int kSize = 128, kSlab = 64, kGrout = 3;
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int u = x % kSlab, v = y % kSlab;
            int grey = 150 + (SmoothNoise(x, y, 8, 11) - 128) / 6 + (Noise(x, y, 12) - 128) / 16;
            if (u < kGrout || v < kGrout) grey = 70;
            else if (u < kGrout + 2 || v < kGrout + 2) grey += 30;
            else if (u >= kSlab - 2 || v >= kSlab - 2) grey -= 30;
            image.Set(x, y, grey, grey, grey + 6);
        }
    }
    return image;
}

// White at the centre fading smoothly to black at the rim.
Image DrawParticle() {
    constexpr int kSize = 64;
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double dx = (x + 0.5 - kSize / 2.0) / (kSize / 2.0), dy = (y + 0.5 - kSize / 2.0) / (kSize / 2.0);
            double falloff = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy));
            int v = int(falloff * falloff * 255.0 + 0.5);
            image.Set(x, y, v, v, v);
        }
    }
    return image;
}

// Light, faintly mottled: the figures' own colours show through.
Image DrawSkin() {
    constexpr int kSize = 64;
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int v = 212 + (SmoothNoise(x, y, 8, 21) - 128) / 8 + (Noise(x, y, 22) - 128) / 24;
            image.Set(x, y, v, v, v);
        }
    }
    return image;
}

// Seven-segment digits 0..3 on black; the game loads it but draws its own.
Image DrawScore() {
    constexpr int kSize = 64;
    static const uint8_t kSegments[4] = {0x3F, 0x06, 0x5B, 0x4F};  // bits a..g
    Image image(kSize, kSize);
    for (int d = 0; d < 4; ++d) {
        int left = 4 + d * 15, top = 18, w = 10, h = 12;
        for (int s = 0; s < 7; ++s) {
            if (!(kSegments[d] >> s & 1)) continue;
            bool horizontal = s == 0 || s == 3 || s == 6;
            int x0 = (s == 1 || s == 2) ? left + w - 2 : left;
            int y0 = s == 0 ? top : s == 6 ? top + h : s == 3 ? top + 2 * h : (s == 1 || s == 5) ? top : top + h;
            for (int y = y0; y < y0 + (horizontal ? 2 : h + 2); ++y)
                for (int x = x0; x < x0 + (horizontal ? w : 2); ++x) image.Set(x, y, 255, 60, 40);
        }
    }
    return image;
}
