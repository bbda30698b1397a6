// Builds RIFF/WAVE byte images and temporary files for the audio tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32(Bytes& b, uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}

inline void SetU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A chunk with its real size (padded to even length), or with a claimed size.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t claimedSize = -1) {
    Bytes b;
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
    PutU32(b, claimedSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(claimedSize));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

inline Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
    return Chunk("RIFF", Cat({Bytes(form, form + 4), chunks}));
}

// The 16 bytes every "fmt " chunk starts with.
inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint16_t bits, uint32_t rate = 22050) {
    Bytes b;
    uint16_t blockAlign = static_cast<uint16_t>(channels * (bits / 8));
    PutU16(b, tag);
    PutU16(b, channels);
    PutU32(b, rate);
    PutU32(b, blockAlign * rate);
    PutU16(b, blockAlign);
    PutU16(b, bits);
    return b;
}

inline Bytes PcmFormat(uint16_t channels = 1, uint16_t bits = 16) {
    return Chunk("fmt ", FormatBody(1, channels, bits));
}

inline Bytes PcmWave(const Bytes& data, uint16_t channels = 1, uint16_t bits = 16) {
    return Riff(Cat({PcmFormat(channels, bits), Chunk("data", data)}));
}

inline Bytes Ramp(size_t n, uint8_t start = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(start + i * 7);
    return b;
}

// A file in a fresh temporary directory, removed with it.
struct TempFile {
    explicit TempFile(const Bytes& contents) {
        char pattern[] = "/tmp/qf_audio_XXXXXX";
        dir = mkdtemp(pattern);
        path = dir + "/sound.wav";
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(contents.data(), 1, contents.size(), f);
        std::fclose(f);
    }
    ~TempFile() {
        unlink(path.c_str());
        rmdir(dir.c_str());
    }
    std::wstring WidePath() const { return std::wstring(path.begin(), path.end()); }
    std::string dir, path;
};

// Tests never make a sound: without a chosen driver they use SDL's silent one.
inline void UseSilentAudioDriver() { setenv("SDL_AUDIODRIVER", "dummy", 0); }

// Runs f with SDL_AUDIODRIVER naming a driver that does not exist.
template <typename F>
auto WithoutAudioDriver(F f) {
    const char* before = getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "dummy";
    setenv("SDL_AUDIODRIVER", "qf-no-such-driver", 1);
    auto result = f();
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    return result;
}
