// Arbitrary bytes as an in-memory wave: open, read all data in uneven pieces,
// rewind and read again.
#include <cstddef>
#include <cstdint>

#include "audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    WaveFile wave;
    if (FAILED(wave.OpenMemory(data, static_cast<DWORD>(size)))) return 0;
    if (wave.size > size) __builtin_trap();  // the data can never be larger than the file
    static BYTE buffer[4099];
    for (int round = 0; round < 2; ++round) {
        DWORD total = 0, got = 0;
        do {
            if (FAILED(wave.Read(buffer, sizeof buffer, &got))) break;
            total += got;
        } while (got > 0);
        if (total != wave.size) __builtin_trap();  // every byte counted in size must be readable
        if (FAILED(wave.ResetFile())) break;
    }
    return 0;
}
