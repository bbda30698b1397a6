#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/media_search.h"
#include "render/device_resources.h"
#include "support/temp_tree.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The names start-up loads, so the generator is held to the game's own list.
const std::vector<std::string> kBitmaps = [] {
    std::vector<std::string> names;
    for (const BitmapTexture& bitmap : kBitmapTextures)
        names.emplace_back(bitmap.name, bitmap.name + std::wcslen(bitmap.name));
    return names;
}();
const char* const kWaves[] = {"songfinal.wav", "bingl.wav", "bing2.wav"};

Bytes ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t U16(const Bytes& b, size_t at) { return b[at] | uint32_t(b[at + 1]) << 8; }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
bool PowerOfTwoIn64To256(uint32_t n) { return n >= 64 && n <= 256 && (n & (n - 1)) == 0; }
std::string BuildPath(const std::string& relative) { return std::string(QF_BINARY_DIR) + "/" + relative; }

TEST(GeneratedMedia, BitmapsAreUncompressedSizedAsTheyClaimAndLoadInSdl) {
    for (std::string name : kBitmaps) {
        Bytes b = ReadAll(BuildPath("media/" + name));
        ASSERT_GE(b.size(), 54u) << name;
        uint32_t width = U32(b, 18), height = U32(b, 22), bits = U16(b, 28);
        EXPECT_TRUE(PowerOfTwoIn64To256(width) && PowerOfTwoIn64To256(height)) << name;
        EXPECT_TRUE((bits == 24 || bits == 32) && U32(b, 30) == 0 && U32(b, 2) == b.size()) << name;
        EXPECT_EQ(b.size(), U32(b, 10) + size_t((width * bits / 8 + 3) & ~3u) * height) << name;
        SDL_Surface* surface = SDL_LoadBMP(BuildPath("media/" + name).c_str());
        ASSERT_NE(nullptr, surface) << name << ": " << SDL_GetError();
        EXPECT_TRUE(uint32_t(surface->w) == width && uint32_t(surface->h) == height) << name;
        SDL_FreeSurface(surface);
    }
}

TEST(GeneratedMedia, WavesAreAudibleMonoPcmWithTheirDataWhole) {
    for (std::string name : kWaves) {
        Bytes b = ReadAll(BuildPath(name));
        ASSERT_GE(b.size(), 44u) << name;
        EXPECT_EQ(std::string("RIFF....WAVEfmt "), std::string(b.begin(), b.begin() + 16).replace(4, 4, "....")) << name;
        EXPECT_EQ(std::string("data"), std::string(b.begin() + 36, b.begin() + 40)) << name;
        // Sizes, then PCM, one channel, 22050 Hz, 44100 bytes a second, 2 bytes a frame, 16 bits.
        EXPECT_EQ((std::vector<uint32_t>{uint32_t(b.size() - 8), 16, uint32_t(b.size() - 44), 1, 1, 22050, 44100, 2, 16}),
                  (std::vector<uint32_t>{U32(b, 4), U32(b, 16), U32(b, 40), U16(b, 20), U16(b, 22), U32(b, 24), U32(b, 28),
                                         U16(b, 32), U16(b, 34)})) << name;
        int loudest = 0;
        for (size_t at = 44; at + 1 < b.size(); at += 2) loudest = std::max(loudest, std::abs(int(int16_t(U16(b, at)))));
        EXPECT_GT(loudest, 4000) << name;  // not silence
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
        Bytes built = ReadAll(BuildPath(file));
        ASSERT_FALSE(built.empty()) << file;
        EXPECT_TRUE(built == ReadAll(tree.Path("one/" + file)) && built == ReadAll(tree.Path("two/" + file))) << file;
    }
}

TEST(GeneratedMedia, SearchFindsTheBitmapsBesideTheProgramFromAnyWorkingDirectory) {
    // The tests run from build/tests; the media lie in build/media.
    WCHAR exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring exeDir(exe);
    exeDir.resize(exeDir.rfind(L'\\'));
    TempTree elsewhere;
    elsewhere.EnterDir(".");
    for (std::string name : kBitmaps) {
        std::wstring wide(name.begin(), name.end());
        WCHAR dest[MAX_PATH];
        ASSERT_EQ(S_OK, FindMediaFile(dest, MAX_PATH, wide.c_str())) << name;
        EXPECT_EQ(exeDir + L"\\..\\media\\" + wide, dest);
    }
}

}  // namespace
