#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "render/device_resources.h"
#include "support/temp_tree.h"

namespace {

// The names start-up loads, so the generator is held to the game's own list.
const std::vector<std::string> kBitmaps = [] {
    std::vector<std::string> names;
    for (const BitmapTexture& bitmap : kBitmapTextures)
        names.emplace_back(bitmap.name, bitmap.name + std::wcslen(bitmap.name));
    return names;
}();
const char* const kWaves[] = {"songfinal.wav", "bingl.wav", "bing2.wav"};

uint32_t U16(const std::string& b, size_t at) { return uint8_t(b[at]) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::string BuildPath(const std::string& relative) { return std::string(QF_BINARY_DIR) + "/" + relative; }

TEST(GeneratedMedia, BitmapsAreUncompressedPowerOfTwoSizedAsTheyClaimAndLoadInSdl) {
    for (std::string name : kBitmaps) {
        SCOPED_TRACE(name);
        const std::string b = ReadFile(BuildPath("media/" + name));
        ASSERT_GE(b.size(), 54u);
        const uint32_t width = U32(b, 18), height = U32(b, 22), bits = U16(b, 28);
        for (uint32_t side : {width, height}) EXPECT_TRUE(side >= 64 && side <= 256 && (side & (side - 1)) == 0) << side;
        EXPECT_TRUE(bits == 24 || bits == 32) << bits;
        EXPECT_EQ(std::make_tuple(U32(b, 30), U32(b, 2)), std::make_tuple(0u, uint32_t(b.size())));  // BI_RGB, size
        EXPECT_EQ(b.size(), U32(b, 10) + size_t((width * bits / 8 + 3) & ~3u) * height);
        SDL_Surface* surface = SDL_LoadBMP(BuildPath("media/" + name).c_str());
        ASSERT_NE(nullptr, surface) << SDL_GetError();
        EXPECT_EQ(std::make_pair(uint32_t(surface->w), uint32_t(surface->h)), std::make_pair(width, height));
        SDL_FreeSurface(surface);
    }
}

TEST(GeneratedMedia, WavesAreAudibleMonoPcmWithTheirDataWhole) {
    for (std::string name : kWaves) {
        SCOPED_TRACE(name);
        const std::string b = ReadFile(BuildPath(name));
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ("RIFF....WAVEfmt ", b.substr(0, 16).replace(4, 4, "...."));
        EXPECT_EQ("data", b.substr(36, 4));
        // Sizes, then PCM, one channel, 22050 Hz, 44100 bytes a second, 2 bytes a frame, 16 bits.
        EXPECT_EQ((std::vector<uint32_t>{uint32_t(b.size() - 8), 16, uint32_t(b.size() - 44), 1, 1, 22050, 44100, 2, 16}),
                  (std::vector<uint32_t>{U32(b, 4), U32(b, 16), U32(b, 40), U16(b, 20), U16(b, 22), U32(b, 24), U32(b, 28),
                                         U16(b, 32), U16(b, 34)}));
        int loudest = 0;
        for (size_t at = 44; at + 1 < b.size(); at += 2) loudest = std::max(loudest, std::abs(int(int16_t(U16(b, at)))));
        EXPECT_GT(loudest, 4000);  // not silence
    }
}

TEST(GeneratedMedia, TwoRunsWriteTheSameBytesAsTheBuild) {
    TempTree tree;
    for (const char* run : {"one", "two"}) {
        std::string command = std::string("'") + QF_GENERATOR + "' '" + tree.Path(run) + "/media' '" + tree.Path(run) + "'";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    std::vector<std::string> files(std::begin(kWaves), std::end(kWaves));
    for (const std::string& name : kBitmaps) files.push_back("media/" + name);
    for (const std::string& file : files) {
        const std::string built = ReadFile(BuildPath(file));
        ASSERT_FALSE(built.empty()) << file;
        EXPECT_TRUE(built == ReadFile(tree.Path("one/" + file))) << file;
        EXPECT_TRUE(built == ReadFile(tree.Path("two/" + file))) << file;
    }
}

}  // namespace
