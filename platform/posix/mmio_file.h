// Internal to the platform layer: the object behind an HMMIO, shared by the
// buffered-I/O and the chunk functions. Game code never includes this.
#pragma once

#include <cstdint>
#include <memory>

#include <mmsystem.h>

struct HMMIO__ {
    // The caller-visible state: pchBuffer..pchEndRead is the buffered window
    // of the file starting at lBufOffset; pchNext is the current position.
    MMIOINFO info{};
    int fd = -1;          // -1 for an in-memory block
    int64_t fileSize = 0;
    std::unique_ptr<char[]> ownBuffer;
    int64_t unbufferedPosition = 0;

    bool Buffered() const { return info.pchBuffer != nullptr; }
    int64_t Position() const;
    // Moves to an absolute position inside 0..fileSize; false otherwise.
    bool MoveTo(int64_t position);
    // Refills the buffer from the current position; false on a read error.
    bool Refill();
};
