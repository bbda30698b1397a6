// Builds RIFF/WAVE byte images and temporary files for the audio tests.
#pragma once

#include <cstdint>
#include <memory>
#include <cstdlib>
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

inline void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A chunk with its real size (padded to even length), or with a claimed size.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t claimedSize = -1, bool pad = true) {
    Bytes b;
    PutId(b, id);
    PutU32(b, claimedSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(claimedSize));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && (body.size() & 1)) b.push_back(0);
    return b;
}

inline Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
    Bytes body;
    PutId(body, form);
    body.insert(body.end(), chunks.begin(), chunks.end());
    return Chunk("RIFF", body);
}

// The 16-byte "fmt " body; extra appends cbSize and its bytes.
inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
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

inline Bytes PcmFormat(uint16_t channels = 1, uint16_t bits = 16, uint32_t rate = 22050) {
    return Chunk("fmt ", FormatBody(1, channels, rate, bits));
}

inline Bytes Ramp(size_t n, uint8_t start = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(start + i * 7);
    return b;
}

inline Bytes PcmWave(const Bytes& data, uint16_t channels = 1, uint16_t bits = 16) {
    return Riff(Cat({PcmFormat(channels, bits), Chunk("data", data)}));
}

// A file in a fresh temporary directory, removed with it.
class TempFile {
public:
    explicit TempFile(const Bytes& contents, const std::string& name = "sound.wav") {
        char pattern[] = "/tmp/qf_audio_XXXXXX";
        dir = mkdtemp(pattern);
        path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(contents.data(), 1, contents.size(), f);
            std::fclose(f);
        }
    }
    ~TempFile() {
        unlink(path.c_str());
        rmdir(dir.c_str());
    }
    std::wstring WidePath() const { return std::wstring(path.begin(), path.end()); }

    std::string dir;
    std::string path;
};

// Tests never make a sound: without a chosen driver they use SDL's silent one.
inline void UseSilentAudioDriver() { setenv("SDL_AUDIODRIVER", "dummy", 0); }
