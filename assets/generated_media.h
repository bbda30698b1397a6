// The game's bitmaps and wave files, drawn and synthesised by a small
// deterministic generator at build time: same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top row first, three bytes a pixel

    Image(int w, int h) : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, 0) {}
    void Set(int x, int y, int r, int g, int b);
};

struct Wave {
    static constexpr int kRate = 22050;
    std::vector<int16_t> samples;  // mono
};

Image DrawTiles();
Image DrawParticle();
Image DrawSkin();
Image DrawFrontEnd();
Image DrawScore();

Wave ComposeSong();
Wave ComposeChime(double frequency);

std::vector<uint8_t> EncodeBmp(const Image& image);
std::vector<uint8_t> EncodeWave(const Wave& wave);
