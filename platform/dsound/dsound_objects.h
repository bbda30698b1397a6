// Internal to the platform layer: the objects behind the DirectSound
// interfaces. The output device (SDL's, or the page's audio context on the
// web) stays open while the DirectSound object or any of its buffers lives.
// Game code never includes this.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <dsound.h>

// The opened output device and the device-wide state the buffers read.
struct SoundOutput {
    uint32_t device = 0;  // the back end's handle
    DWORD cooperativeLevel = 0;
    WAVEFORMATEX primaryFormat{};

    ~SoundOutput();
    // Null where no audio driver or device can be opened.
    static std::shared_ptr<SoundOutput> Open();
};

// Sound bytes shared by a buffer and its duplicates.
struct SoundData {
    std::unique_ptr<uint8_t[]> bytes;
    DWORD size = 0;
};

class SoundBuffer final : public IDirectSoundBuffer {
public:
    // A primary buffer (data null) or a secondary one over data.
    SoundBuffer(std::shared_ptr<SoundOutput> output, DWORD flags, std::shared_ptr<SoundData> data,
                std::vector<uint8_t> format);
    SoundBuffer* Duplicate() const;
    bool IsPrimary() const { return !data; }
    DWORD Flags() const { return flags; }

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetCaps(DSBCAPS* caps) override;
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* audioPtr1, DWORD* audioBytes1, LPVOID* audioPtr2,
                 DWORD* audioBytes2, DWORD flags) override;
    HRESULT SetFormat(const WAVEFORMATEX* format) override;
    HRESULT Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2, DWORD audioBytes2) override;
    HRESULT Restore() override;

private:
    bool InsideData(const void* pointer, DWORD bytes) const;

    ULONG refs = 1;
    std::shared_ptr<SoundOutput> output;
    DWORD flags;
    std::shared_ptr<SoundData> data;
    std::vector<uint8_t> format;  // the WAVEFORMATEX and its cbSize extra bytes
};

// Checks a format against what a buffer can hold: DS_OK or DSERR_BADFORMAT.
HRESULT CheckSecondaryFormat(const WAVEFORMATEX& format);
HRESULT CheckPrimaryFormat(const WAVEFORMATEX& format);
