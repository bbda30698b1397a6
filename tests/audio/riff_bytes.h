// Builds RIFF/WAVE byte images for the audio tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_tree.h"

using Bytes = std::vector<uint8_t>;

// v as `width` little-endian bytes.
inline Bytes Le(uint64_t v, int width) {
    Bytes b;
    for (int i = 0; i < width; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return b;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A chunk with its real size (padded to even length), or with a claimed size.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t claimedSize = -1) {
    Bytes b = Cat({Bytes(id, id + 4), Le(claimedSize < 0 ? body.size() : claimedSize, 4), body});
    if (body.size() & 1) b.push_back(0);
    return b;
}

inline Bytes Riff(const Bytes& chunks, const char* form = "WAVE", int64_t claimedSize = -1) {
    return Chunk("RIFF", Cat({Bytes(form, form + 4), chunks}), claimedSize);
}

// The 16 bytes every "fmt " chunk starts with, at 22050 Hz.
inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint16_t bits) {
    uint32_t blockAlign = channels * (bits / 8);
    return Cat({Le(tag, 2), Le(channels, 2), Le(22050, 4), Le(blockAlign * 22050, 4), Le(blockAlign, 2), Le(bits, 2)});
}

inline Bytes PcmFormat(uint16_t channels = 1, uint16_t bits = 16) { return Chunk("fmt ", FormatBody(1, channels, bits)); }

inline Bytes PcmWave(const Bytes& data, uint16_t channels = 1, uint16_t bits = 16) {
    return Riff(Cat({PcmFormat(channels, bits), Chunk("data", data)}));
}

inline Bytes Ramp(size_t n, uint8_t start = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(start + i * 7);
    return b;
}

// Tests never make a sound: without a chosen driver they use SDL's silent one.
inline void UseSilentAudioDriver() { setenv("SDL_AUDIODRIVER", "dummy", 0); }
