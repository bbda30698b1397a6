// Writes the game's bitmaps into a media folder and its wave files into a
// second folder: generate_media MEDIA_DIR WAVE_DIR.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "generated_media.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (file) return true;
    std::fprintf(stderr, "generate_media: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

// Uncompressed 24-bit, bottom row first, rows padded to four bytes.
std::vector<uint8_t> EncodeBmp(const Image& image) {
    uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    uint32_t pixelBytes = rowBytes * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + pixelBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, uint32_t(image.width));
    Put32(out, uint32_t(image.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.rgb[size_t(y) * size_t(image.width) * 3];
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3 + 0]);
        }
        out.resize(out.size() + (rowBytes - uint32_t(image.width) * 3), 0);
    }
    return out;
}

// RIFF WAVE, PCM, mono, 16 bits.
std::vector<uint8_t> EncodeWave(const Wave& wave) {
    uint32_t dataBytes = uint32_t(wave.samples.size() * 2);
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 4 + 8 + 16 + 8 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, Wave::kRate);
    Put32(out, Wave::kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : wave.samples) Put16(out, uint16_t(s));
    return out;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_media MEDIA_DIR WAVE_DIR\n");
        return 2;
    }
    std::filesystem::path media = argv[1], waves = argv[2];
    std::error_code error;
    std::filesystem::create_directories(media, error);
    std::filesystem::create_directories(waves, error);
    bool ok = WriteFile(media / "tiles.bmp", EncodeBmp(DrawTiles())) &&
              WriteFile(media / "particle.bmp", EncodeBmp(DrawParticle())) &&
              WriteFile(media / "particlecheaper7.bmp", EncodeBmp(DrawSkin())) &&
              WriteFile(media / "TheFrontEnd.bmp", EncodeBmp(DrawFrontEnd())) &&
              WriteFile(media / "score.bmp", EncodeBmp(DrawScore())) &&
              WriteFile(waves / "songfinal.wav", EncodeWave(ComposeSong())) &&
              WriteFile(waves / "bingl.wav", EncodeWave(ComposeChime(1318.51))) &&
              WriteFile(waves / "bing2.wav", EncodeWave(ComposeChime(1760.0)));
    return ok ? 0 : 1;
}
