// Owns the DirectSound device and makes sounds from wave files.
#pragma once

#include <dsound.h>
#include <windows.h>

class Sound;

class SoundManager {
public:
    SoundManager() = default;
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    ~SoundManager();

    HRESULT Initialize(HWND window, DWORD cooperativeLevel);
    HRESULT SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSecond, DWORD bitsPerSample);
    HRESULT Create(Sound** sound, LPCWSTR fileName, DWORD creationFlags, GUID algorithm3D, DWORD bufferCount);

    IDirectSound8* device = nullptr;
};
