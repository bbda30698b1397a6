#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/media_search.h"
#include "temp_tree.h"

namespace {

using Bytes = std::vector<uint8_t>;

const char* const kBitmaps[] = {"tiles.bmp", "particle.bmp", "particlecheaper7.bmp", "TheFrontEnd.bmp", "score.bmp"};
const char* const kWaves[] = {"songfinal.wav", "bingl.wav", "bing2.wav"};

Bytes ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t U16(const Bytes& b, size_t at) { return b[at] | uint32_t(b[at + 1]) << 8; }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
int32_t S32(const Bytes& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }
bool Tag(const Bytes& b, size_t at, const char* tag) { return b.size() >= at + 4 && std::equal(tag, tag + 4, b.begin() + long(at)); }
bool PowerOfTwoIn64To256(int32_t n) { return n >= 64 && n <= 256 && (n & (n - 1)) == 0; }

std::string BuildPath(const std::string& relative) { return std::string(QF_BINARY_DIR) + "/" + relative; }

struct Bitmap {
    int32_t width = 0, height = 0;
    uint32_t bitsPerPixel = 0, offset = 0;
    Bytes bytes;
    // Brightness (r + g + b) of the pixel x, y counted from the top.
    int Brightness(int x, int y) const {
        uint32_t rowBytes = (uint32_t(width) * (bitsPerPixel / 8) + 3) & ~3u;
        size_t at = offset + size_t(height - 1 - y) * rowBytes + size_t(x) * (bitsPerPixel / 8);
        return bytes[at] + bytes[at + 1] + bytes[at + 2];
    }
};

// Checks every header field a loader relies on against the file's real size.
void ExpectValidBitmap(const std::string& name, Bitmap& bmp) {
    bmp.bytes = ReadAll(BuildPath("media/" + name));
    const Bytes& b = bmp.bytes;
    ASSERT_GE(b.size(), 54u) << name;
    EXPECT_TRUE(b[0] == 'B' && b[1] == 'M') << name;
    EXPECT_EQ(b.size(), U32(b, 2)) << name;
    bmp.offset = U32(b, 10);
    EXPECT_EQ(40u, U32(b, 14)) << name;
    bmp.width = S32(b, 18);
    bmp.height = S32(b, 22);
    EXPECT_TRUE(PowerOfTwoIn64To256(bmp.width) && PowerOfTwoIn64To256(bmp.height)) << name;
    EXPECT_EQ(1u, U16(b, 26)) << name;
    bmp.bitsPerPixel = U16(b, 28);
    EXPECT_TRUE(bmp.bitsPerPixel == 24 || bmp.bitsPerPixel == 32) << name;
    EXPECT_EQ(0u, U32(b, 30)) << name;  // uncompressed
    uint32_t rowBytes = (uint32_t(bmp.width) * (bmp.bitsPerPixel / 8) + 3) & ~3u;
    ASSERT_GE(bmp.offset, 54u) << name;
    ASSERT_EQ(b.size(), bmp.offset + size_t(rowBytes) * uint32_t(bmp.height)) << name;
}

TEST(GeneratedMedia, BitmapsAreUncompressedAndSizedAsTheyClaim) {
    for (const char* name : kBitmaps) {
        Bitmap bmp;
        ExpectValidBitmap(name, bmp);
    }
}

TEST(GeneratedMedia, TitleIsBrightLettersOnBlack) {
    Bitmap title;
    ASSERT_NO_FATAL_FAILURE(ExpectValidBitmap("TheFrontEnd.bmp", title));
    int black = 0, bright = 0;
    for (int y = 0; y < title.height; ++y) {
        for (int x = 0; x < title.width; ++x) {
            int v = title.Brightness(x, y);
            black += v == 0;
            bright += v >= 600;
        }
    }
    int pixels = title.width * title.height;
    EXPECT_EQ(0, title.Brightness(0, 0));
    EXPECT_EQ(0, title.Brightness(title.width - 1, title.height - 1));
    EXPECT_GT(black, pixels / 2);       // additive drawing leaves the arena alone there
    EXPECT_GT(bright, pixels / 50);     // and the letters stand out
}

struct WaveInfo {
    uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    size_t dataOffset = 0, dataBytes = 0;
};

// Walks the chunks as a reader would, refusing any size that runs past the file.
void ExpectValidWave(const std::string& name, const Bytes& b, WaveInfo& info) {
    ASSERT_GE(b.size(), 12u) << name;
    EXPECT_TRUE(Tag(b, 0, "RIFF") && Tag(b, 8, "WAVE")) << name;
    EXPECT_EQ(b.size() - 8, U32(b, 4)) << name;
    for (size_t at = 12; at + 8 <= b.size();) {
        size_t size = U32(b, at + 4);
        ASSERT_LE(at + 8 + size, b.size()) << name;
        if (Tag(b, at, "fmt ") && size >= 16) {
            info.format = U16(b, at + 8);
            info.channels = U16(b, at + 10);
            info.rate = U32(b, at + 12);
            info.byteRate = U32(b, at + 16);
            info.blockAlign = U16(b, at + 20);
            info.bits = U16(b, at + 22);
        } else if (Tag(b, at, "data")) {
            info.dataOffset = at + 8;
            info.dataBytes = size;
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(1u, info.format) << name;  // PCM
    EXPECT_EQ(info.channels * info.bits / 8, info.blockAlign) << name;
    EXPECT_EQ(info.rate * info.blockAlign, info.byteRate) << name;
    ASSERT_GT(info.dataBytes, 0u) << name;
    EXPECT_EQ(0u, info.dataBytes % info.blockAlign) << name;
}

TEST(GeneratedMedia, WavesArePcmWithTheirDataWhole) {
    for (const char* name : kWaves) {
        Bytes b = ReadAll(BuildPath(name));
        WaveInfo info;
        ASSERT_NO_FATAL_FAILURE(ExpectValidWave(name, b, info));
        EXPECT_EQ(22050u, info.rate);
        EXPECT_EQ(16u, info.bits);
        EXPECT_EQ(1u, info.channels);
        double seconds = double(info.dataBytes) / info.byteRate;
        bool song = std::string(name) == "songfinal.wav";
        EXPECT_TRUE(song ? seconds >= 2.0 && seconds <= 8.0 : seconds >= 0.1 && seconds <= 1.0) << name << " " << seconds;
        int loudest = 0;
        for (size_t at = info.dataOffset; at + 1 < info.dataOffset + info.dataBytes; at += 2)
            loudest = std::max(loudest, std::abs(int(int16_t(U16(b, at)))));
        EXPECT_GT(loudest, 4000) << name;  // audible, not silence
    }
}

TEST(GeneratedMedia, TwoRunsWriteTheSameBytesAsTheBuild) {
    TempTree tree;
    for (const char* run : {"one", "two"}) {
        std::string command = std::string("'") + QF_GENERATOR + "' '" + tree.Path(run) + "/media' '" + tree.Path(run) + "'";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    auto expectSame = [&](const std::string& relative) {
        Bytes built = ReadAll(BuildPath(relative));
        ASSERT_FALSE(built.empty()) << relative;
        EXPECT_TRUE(built == ReadAll(tree.Path("one/" + relative))) << relative;
        EXPECT_TRUE(built == ReadAll(tree.Path("two/" + relative))) << relative;
    };
    for (const char* name : kBitmaps) expectSame(std::string("media/") + name);
    for (const char* name : kWaves) expectSame(name);
}

TEST(GeneratedMedia, GeneratorRefusesAMissingArgument) {
    EXPECT_NE(0, std::system((std::string("'") + QF_GENERATOR + "' only-one 2>/dev/null").c_str()));
}

TEST(GeneratedMedia, SearchFindsTheBitmapsBesideTheProgramFromAnyWorkingDirectory) {
    // The tests run from build/tests; the media lie in build/media.
    WCHAR exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring exeDir(exe);
    exeDir.resize(exeDir.rfind(L'\\'));
    TempTree elsewhere;
    elsewhere.EnterDir(".");
    for (const wchar_t* name : {L"tiles.bmp", L"particle.bmp", L"particlecheaper7.bmp", L"TheFrontEnd.bmp", L"score.bmp"}) {
        WCHAR dest[MAX_PATH];
        ASSERT_EQ(S_OK, FindMediaFile(dest, MAX_PATH, name)) << name;
        EXPECT_EQ(exeDir + L"\\..\\media\\" + name, dest);
    }
}

}  // namespace
