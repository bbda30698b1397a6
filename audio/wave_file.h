// Reads a RIFF/WAVE file (or a wave resource, or a memory block) through the
// multimedia file functions: the format record, then the data in pieces.
#pragma once

// The SDK's mmsystem.h needs windows.h before it.
#include <windows.h>
#include <mmsystem.h>

class WaveFile {
public:
    static constexpr int kModeRead = 1;

    WaveFile() = default;
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;
    ~WaveFile();

    // The file of that name, or else the program's "WAVE"/"WAV" resource of it.
    HRESULT Open(LPCWSTR fileName, int openMode);
    // A copy of size bytes read as an in-memory file, as a resource would be.
    HRESULT OpenMemory(const void* bytes, DWORD byteCount);
    HRESULT ResetFile();
    HRESULT Read(BYTE* buffer, DWORD count, DWORD* bytesRead);
    HRESULT Close();

    WAVEFORMATEX* format = nullptr;  // owned; 18 + cbSize bytes
    HMMIO file = nullptr;
    MMCKINFO dataChunk{};
    MMCKINFO riffChunk{};
    DWORD size = 0;
    int mode = 0;
    BYTE* resourceCopy = nullptr;  // owned

private:
    HRESULT OpenResource(LPCWSTR fileName);
    HRESULT OpenCopy(const void* bytes, DWORD byteCount);
    HRESULT FinishOpen();
    HRESULT ReadHeader();
    HRESULT ReadFormat(const MMCKINFO& formatChunk);
    void FreeFormat();
};
