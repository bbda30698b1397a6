#include <algorithm>
#include <array>
#include <cstring>

#include "generated_media.h"

namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7;

struct Glyph {
    char letter;
    const char* rows[kGlyphHeight];
};

// Just the letters of the title.
const Glyph kFont[] = {
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
};

const Glyph* FindGlyph(char letter) {
    for (const Glyph& g : kFont)
        if (g.letter == letter) return &g;
    return nullptr;
}

constexpr int kSize = 256;
constexpr int kCellWidth = 4, kCellHeight = 6, kGap = 4;
using Mask = std::array<uint8_t, kSize * kSize>;

// Marks the pixels of the word's blocks, centred in the picture.
void StampWord(const char* word, Mask& mask) {
    int letters = int(std::strlen(word));
    int wordWidth = letters * kGlyphWidth * kCellWidth + (letters - 1) * kGap;
    int left = (kSize - wordWidth) / 2, top = (kSize - kGlyphHeight * kCellHeight) / 2;
    for (int i = 0; i < letters; ++i) {
        const Glyph* glyph = FindGlyph(word[i]);
        int x0 = left + i * (kGlyphWidth * kCellWidth + kGap);
        for (int row = 0; row < kGlyphHeight && glyph; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (glyph->rows[row][col] == '#')
                    for (int y = 0; y < kCellHeight; ++y)
                        for (int x = 0; x < kCellWidth; ++x)
                            mask[size_t(top + row * kCellHeight + y) * kSize + size_t(x0 + col * kCellWidth + x)] = 1;
    }
}

// How much of the word lies within radius of (x, y), 0..255: the halo.
int Halo(const Mask& mask, int x, int y, int radius) {
    int hits = 0, total = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            int sx = x + dx, sy = y + dy;
            ++total;
            if (sx >= 0 && sy >= 0 && sx < kSize && sy < kSize) hits += mask[size_t(sy) * kSize + size_t(sx)];
        }
    }
    return hits * 255 / total;
}

}  // namespace

// Icy letters with a blue halo on black: drawn additively over the arena,
// black adds nothing and only the title shows.
Image DrawFrontEnd() {
    static Mask mask{};
    mask.fill(0);
    StampWord("QUILLFROST", mask);
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (mask[size_t(y) * kSize + size_t(x)]) {
                int shade = std::max(0, y - kSize / 2) * 3;  // white above, icier toward the foot
                image.Set(x, y, 245 - shade, 250 - shade / 2, 255);
                continue;
            }
            int glow = std::min(255, Halo(mask, x, y, 6) * 2);
            image.Set(x, y, glow / 5, glow / 3, glow);
        }
    }
    return image;
}
