#include "audio/sound.h"

#include <cstring>
#include <new>

#include "audio/wave_file.h"

Sound::Sound(LPDIRECTSOUNDBUFFER* sourceBuffers, DWORD bufferBytes, DWORD count, WaveFile* wave, DWORD flags)
    : bufferSize(bufferBytes), waveFile(wave), bufferCount(count), creationFlags(flags) {
    buffers = new LPDIRECTSOUNDBUFFER[count];
    for (DWORD i = 0; i < count; ++i) buffers[i] = sourceBuffers[i];
    FillBufferWithSound(buffers[0], false);
}

Sound::~Sound() {
    for (DWORD i = 0; i < bufferCount; ++i) {
        if (buffers[i]) buffers[i]->Release();
        buffers[i] = nullptr;
    }
    delete[] buffers;
    if (waveFile) {
        waveFile->Close();
        delete waveFile;  // frees its format
    }
}

HRESULT Sound::RestoreBuffer(LPDIRECTSOUNDBUFFER buffer, bool* wasRestored) {
    if (!buffer) return CO_E_NOTINITIALIZED;
    if (wasRestored) *wasRestored = false;
    DWORD status = 0;
    HRESULT result = buffer->GetStatus(&status);
    if (FAILED(result)) return result;
    if (!(status & DSBSTATUS_BUFFERLOST)) return S_FALSE;
    // Another application may hold the device for good: give up after a while
    // rather than hang start-up.
    for (int pass = 1;; ++pass) {
        if (buffer->Restore() == DSERR_BUFFERLOST) Sleep(10);
        if (buffer->Restore() != DSERR_BUFFERLOST) break;
        if (pass == kMaxRestorePasses) return DSERR_BUFFERLOST;
    }
    if (wasRestored) *wasRestored = true;
    return S_OK;
}

BYTE Sound::SilenceByte() const {
    return waveFile && waveFile->format && waveFile->format->wBitsPerSample == 8 ? 0x80 : 0;
}

HRESULT Sound::FillRegion(BYTE* region, DWORD length, bool repeatToFill) {
    HRESULT result = waveFile->ResetFile();
    if (FAILED(result)) return result;
    DWORD filled = 0;
    result = waveFile->Read(region, length, &filled);
    if (FAILED(result)) return result;
    while (repeatToFill && filled > 0 && filled < length) {
        DWORD more = 0;
        result = waveFile->ResetFile();
        if (SUCCEEDED(result)) result = waveFile->Read(region + filled, length - filled, &more);
        if (FAILED(result)) return result;
        if (more == 0) break;  // nothing to repeat: pad instead of looping forever
        filled += more;
    }
    std::memset(region + filled, SilenceByte(), length - filled);
    return S_OK;
}

HRESULT Sound::FillBufferWithSound(LPDIRECTSOUNDBUFFER buffer, bool repeatToFill) {
    if (!buffer) return CO_E_NOTINITIALIZED;
    if (!waveFile) return CO_E_NOTINITIALIZED;
    HRESULT result = RestoreBuffer(buffer, nullptr);
    if (FAILED(result)) return result;
    void* region = nullptr;
    DWORD length = 0;
    result = buffer->Lock(0, bufferSize, &region, &length, nullptr, nullptr, 0);
    if (FAILED(result)) return result;
    result = FillRegion(static_cast<BYTE*>(region), length, repeatToFill);
    buffer->Unlock(region, length, nullptr, 0);
    return result;
}
