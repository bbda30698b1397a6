// One wave loaded into one or more DirectSound buffers that carry the same sound.
#pragma once

#include <dsound.h>
#include <windows.h>

class WaveFile;

class Sound {
public:
    // Lost buffers are retried 10 ms apart for at most this many passes (2 s).
    static constexpr int kMaxRestorePasses = 200;

    // Takes ownership of the buffers (copied from the array) and of waveFile,
    // and fills buffer 0 from the file.
    Sound(LPDIRECTSOUNDBUFFER* sourceBuffers, DWORD bufferBytes, DWORD count, WaveFile* wave, DWORD flags);
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    virtual ~Sound();

    HRESULT RestoreBuffer(LPDIRECTSOUNDBUFFER buffer, bool* wasRestored);
    HRESULT FillBufferWithSound(LPDIRECTSOUNDBUFFER buffer, bool repeatToFill);

    LPDIRECTSOUNDBUFFER* buffers = nullptr;
    DWORD bufferSize = 0;
    WaveFile* waveFile = nullptr;
    DWORD bufferCount = 0;
    DWORD creationFlags = 0;

private:
    HRESULT FillRegion(BYTE* region, DWORD length, bool repeatToFill);
    BYTE SilenceByte() const;
};
