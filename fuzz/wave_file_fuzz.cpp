// Arbitrary bytes as a wave: opened as an in-memory file (how a resource is
// read) and as a file on disk (how the game reads its waves), each read whole
// in uneven pieces, rewound and read again. The two ways go through different
// buffering and must agree on the result, the format and every data byte.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/wave_file.h"

namespace {
[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "wave_file_fuzz: %s\n", what);
    std::abort();
}

struct Outcome {
    bool opened = false;
    std::vector<BYTE> format;  // the record and its extra bytes
    DWORD size = 0;
    std::vector<BYTE> data;  // the first reading's bytes
};

Outcome ReadAll(WaveFile& wave, HRESULT opened, size_t fileSize) {
    Outcome out;
    if (FAILED(opened)) return out;
    out.opened = true;
    const auto* record = reinterpret_cast<const BYTE*>(wave.format);
    out.format.assign(record, record + sizeof(WAVEFORMATEX) + wave.format->cbSize);
    out.size = wave.size;
    if (wave.size > fileSize) Fault("more data than the file holds");
    static BYTE buffer[4099];
    for (int round = 0; round < 2; ++round) {
        DWORD total = 0, got = 0;
        do {
            if (FAILED(wave.Read(buffer, sizeof buffer, &got))) break;
            if (round == 0) out.data.insert(out.data.end(), buffer, buffer + got);
            total += got;
        } while (got > 0);
        if (total != wave.size) Fault("a byte counted in the size cannot be read");
        if (FAILED(wave.ResetFile())) break;
    }
    return out;
}

// One file in memory per fuzzing process, rewritten for every input and
// reached by name through /proc/self/fd: nothing is left behind.
const std::string& ScratchFile(int* fd) {
    static const int scratch = memfd_create("wave_file_fuzz", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(scratch);
    if (scratch < 0) Fault("cannot make the scratch file");
    *fd = scratch;
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    WaveFile inMemory;
    const Outcome memory = ReadAll(inMemory, inMemory.OpenMemory(data, static_cast<DWORD>(size)), size);

    int fd = -1;
    const std::string& path = ScratchFile(&fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        Fault("cannot write the scratch file");
    const std::wstring widePath(path.begin(), path.end());
    WaveFile onDisk;
    const Outcome disk = ReadAll(onDisk, onDisk.Open(widePath.c_str(), WaveFile::kModeRead), size);

    if (memory.opened != disk.opened) Fault("opens from memory and from a file disagree");
    if (memory.format != disk.format || memory.size != disk.size) Fault("formats or sizes disagree");
    if (memory.data != disk.data) Fault("data bytes disagree");
    return 0;
}
