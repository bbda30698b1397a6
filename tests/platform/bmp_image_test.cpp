// The BMP reader the Windows back end loads its textures with: the shipped
// bitmaps read as SDL reads them, the other layouts it takes, and refusals.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/shared/bmp_image.h"

namespace {
std::vector<uint8_t> Header(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t colours,
                            size_t pixelBytes) {
    std::vector<uint8_t> b;
    auto put = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t offset = 14 + 40 + colours * 4;
    b.push_back('B'), b.push_back('M');
    put(offset + static_cast<uint32_t>(pixelBytes), 4), put(0, 4), put(offset, 4);
    put(40, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4), put(1, 2), put(bits, 2);
    put(compression, 4), put(static_cast<uint32_t>(pixelBytes), 4), put(0, 4), put(0, 4), put(colours, 4), put(0, 4);
    return b;
}

bool Read(const std::vector<uint8_t>& bytes, BmpImage* image, std::string* reason = nullptr) {
    const char* why = "";
    bool ok = ReadBmp(bytes.data(), bytes.size(), image, &why);
    if (reason) *reason = why;
    return ok;
}
}  // namespace

TEST(BmpImage, ReadsTheShippedBitmapsAsSdlDoes) {
    for (const char* name : {"tiles.bmp", "particle.bmp", "particlecheaper7.bmp", "TheFrontEnd.bmp", "score.bmp"}) {
        const std::string path = std::string(QF_BINARY_DIR) + "/media/" + name;
        std::ifstream file(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        BmpImage image;
        ASSERT_TRUE(Read(bytes, &image)) << name;
        SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
        ASSERT_NE(loaded, nullptr) << name;
        // ARGB8888 lies in memory as B, G, R, A on a little-endian host.
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(loaded);
        ASSERT_EQ(std::make_pair(image.width, image.height),
                  std::make_pair(static_cast<uint32_t>(argb->w), static_cast<uint32_t>(argb->h)));
        std::vector<uint8_t> expected;
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch;
            expected.insert(expected.end(), row, row + argb->w * 4);
        }
        SDL_FreeSurface(argb);
        EXPECT_TRUE(image.bgra == expected) << name;
    }
}

TEST(BmpImage, ReadsTopDownAlphaAndPalettedLayouts) {
    // 2x2, 32-bit, top row first, with alpha.
    std::vector<uint8_t> bytes = Header(2, -2, 32, 0, 0, 16);
    const uint8_t pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    bytes.insert(bytes.end(), std::begin(pixels), std::end(pixels));
    BmpImage image;
    ASSERT_TRUE(Read(bytes, &image));
    EXPECT_TRUE(image.bgra == std::vector<uint8_t>(std::begin(pixels), std::end(pixels)));

    // 3x1, 8-bit with two colours, bottom row first (one row, padded to 4).
    bytes = Header(3, 1, 8, 0, 2, 4);
    const uint8_t rest[] = {10, 20, 30, 0, 40, 50, 60, 0, 1, 0, 1, 0};
    bytes.insert(bytes.end(), std::begin(rest), std::end(rest));
    ASSERT_TRUE(Read(bytes, &image));
    EXPECT_TRUE(image.bgra == (std::vector<uint8_t>{40, 50, 60, 255, 10, 20, 30, 255, 40, 50, 60, 255}));
    bytes[bytes.size() - 2] = 2;  // an index past the palette
    EXPECT_FALSE(Read(bytes, &image));
}

TEST(BmpImage, RefusesWhatItDoesNotRead) {
    const std::vector<uint8_t> good = [] {
        std::vector<uint8_t> b = Header(1, 1, 24, 0, 0, 4);
        b.insert(b.end(), {1, 2, 3, 0});
        return b;
    }();
    struct Case {
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {std::vector<uint8_t>(good.begin(), good.end() - 1), "truncated pixels"},
        {std::vector<uint8_t>(good.begin(), good.begin() + 20), "not a bitmap"},
        {Header(1, 1, 8, 1, 0, 4), "compressed bitmaps are not supported"},
        {Header(1, 1, 16, 0, 0, 4), "unsupported bit depth"},
        {Header(kBmpSideLimit + 1, 1, 24, 0, 0, 0), "bitmap too large"},
        {Header(0, 1, 24, 0, 0, 0), "bad size"},
    };
    BmpImage image;
    ASSERT_TRUE(Read(good, &image));
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(Read(c.bytes, &image, &reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
    }
}
