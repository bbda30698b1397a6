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

void Put32At(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

// 32-bit bitfields with the usual colour masks: after a 40-byte header, or
// with infoSize 56 inside the header, followed there by the given alpha mask.
std::vector<uint8_t> Bitfields(int32_t width, int32_t height, uint32_t infoSize, uint32_t alphaMask,
                               const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> b = Header(width, height, 32, 3, 0, pixels.size());
    std::vector<uint8_t> masks(infoSize == 40 ? 12 : infoSize - 40, 0);
    Put32At(masks, 0, 0x00FF0000u), Put32At(masks, 4, 0x0000FF00u), Put32At(masks, 8, 0x000000FFu);
    if (infoSize >= 56) Put32At(masks, 12, alphaMask), Put32At(b, 14, infoSize);
    b.insert(b.end(), masks.begin(), masks.end());
    Put32At(b, 10, static_cast<uint32_t>(b.size()));
    b.insert(b.end(), pixels.begin(), pixels.end());
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
    // An index past the palette in the last row read: refused, and the rows
    // read before it are not left behind in the image.
    bytes[bytes.size() - 2] = 2;
    EXPECT_FALSE(Read(bytes, &image));
    EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(0u, 0u));
    EXPECT_TRUE(image.bgra.empty());
}

TEST(BmpImage, BitfieldsAlphaIsWhatTheHeaderSays) {
    const std::vector<uint8_t> pixels = {1, 2, 3, 40, 5, 6, 7, 0};
    BmpImage image;
    // No alpha mask (version 1 header): the fourth byte is padding, not alpha.
    ASSERT_TRUE(Read(Bitfields(2, 1, 40, 0, pixels), &image));
    EXPECT_TRUE(image.bgra == (std::vector<uint8_t>{1, 2, 3, 255, 5, 6, 7, 255}));
    ASSERT_TRUE(Read(Bitfields(2, 1, 56, 0, pixels), &image));
    EXPECT_TRUE(image.bgra == (std::vector<uint8_t>{1, 2, 3, 255, 5, 6, 7, 255}));
    // An alpha mask: the byte is alpha, even when every pixel is transparent.
    ASSERT_TRUE(Read(Bitfields(2, 1, 56, 0xFF000000u, pixels), &image));
    EXPECT_TRUE(image.bgra == pixels);
    ASSERT_TRUE(Read(Bitfields(1, 1, 56, 0xFF000000u, {9, 8, 7, 0}), &image));
    EXPECT_TRUE(image.bgra == (std::vector<uint8_t>{9, 8, 7, 0}));
    std::string reason;
    EXPECT_FALSE(Read(Bitfields(1, 1, 56, 0x0000FF00u, {9, 8, 7, 0}), &image, &reason));
    EXPECT_EQ(reason, "unsupported colour masks");
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
        // Pixels said to start inside the header would show the header's bytes.
        {[&good] {
             std::vector<uint8_t> b = good;
             Put32At(b, 10, 50);
             return b;
         }(),
         "pixels overlap the header"},
        // A header size no Windows version has: where its masks lie is unclear.
        {[&good] {
             std::vector<uint8_t> b = good;
             Put32At(b, 14, 44);
             b.insert(b.begin() + 54, 4, 0);
             Put32At(b, 10, 58);
             return b;
         }(),
         "bad header size"},
    };
    BmpImage image;
    ASSERT_TRUE(Read(good, &image));
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(Read(c.bytes, &image, &reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
    }
}
