// The DirectSound object on the back end's sound output (SoundOutput::Open):
// the game never plays a sound, but a machine without audio must be told apart
// from one with it.
#include <new>

#include "platform/dsound/dsound_objects.h"

namespace {

class DirectSound final : public IDirectSound8 {
public:
    explicit DirectSound(std::shared_ptr<SoundOutput> output) : output(std::move(output)) {}

    ULONG AddRef() override { return ++refs; }
    ULONG Release() override {
        ULONG left = --refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

private:
    HRESULT CreatePrimary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer);
    HRESULT CreateSecondary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer);

    ULONG refs = 1;
    std::shared_ptr<SoundOutput> output;
};

HRESULT DirectSound::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, IUnknown* outer) {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
    return (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) ? CreatePrimary(*desc, buffer) : CreateSecondary(*desc, buffer);
}

HRESULT DirectSound::CreatePrimary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer) {
    if (desc.dwBufferBytes != 0 || desc.lpwfxFormat || (desc.dwFlags & (DSBCAPS_CTRLFX | DSBCAPS_STATIC)))
        return DSERR_INVALIDPARAM;
    *buffer = new (std::nothrow) SoundBuffer(output, desc.dwFlags, nullptr, {});
    return *buffer ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT DirectSound::CreateSecondary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer) {
    if (!desc.lpwfxFormat || desc.dwBufferBytes < DSBSIZE_MIN || desc.dwBufferBytes > DSBSIZE_MAX)
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& format = *desc.lpwfxFormat;
    bool threeD = desc.dwFlags & DSBCAPS_CTRL3D;
    if ((threeD && format.nChannels != 1) || (!threeD && !(desc.guid3DAlgorithm == GUID_NULL)))
        return DSERR_INVALIDPARAM;
    HRESULT check = CheckSecondaryFormat(format);
    if (FAILED(check)) return check;
    // PCM ignores cbSize; other tags carry that many bytes after the record.
    size_t formatSize = sizeof(WAVEFORMATEX) + (format.wFormatTag == WAVE_FORMAT_PCM ? 0 : format.cbSize);
    const auto* formatBytes = reinterpret_cast<const uint8_t*>(&format);
    auto data = std::make_shared<SoundData>();
    data->bytes.reset(new (std::nothrow) uint8_t[desc.dwBufferBytes]());
    if (!data->bytes) return DSERR_OUTOFMEMORY;
    data->size = desc.dwBufferBytes;
    std::vector<uint8_t> formatCopy(formatBytes, formatBytes + formatSize);
    if (format.wFormatTag == WAVE_FORMAT_PCM) reinterpret_cast<WAVEFORMATEX*>(formatCopy.data())->cbSize = 0;
    *buffer = new (std::nothrow) SoundBuffer(output, desc.dwFlags, std::move(data), std::move(formatCopy));
    if (!*buffer) return DSERR_OUTOFMEMORY;
    // Only plain stereo panning exists here, whatever 3-D algorithm was asked for.
    return threeD && !(desc.guid3DAlgorithm == GUID_NULL) ? DS_NO_VIRTUALIZATION : DS_OK;
}

HRESULT DirectSound::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate) {
    if (!duplicate) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    auto* source = dynamic_cast<SoundBuffer*>(original);
    if (!source) return DSERR_INVALIDPARAM;
    if (source->IsPrimary() || (source->Flags() & DSBCAPS_CTRLFX)) return DSERR_INVALIDCALL;
    *duplicate = source->Duplicate();
    return *duplicate ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT DirectSound::SetCooperativeLevel(HWND window, DWORD level) {
    if (!window || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    output->cooperativeLevel = level;
    return DS_OK;
}

}  // namespace

HRESULT DirectSoundCreate8(const GUID* deviceGuid, LPDIRECTSOUND8* directSound, IUnknown* outer) {
    if (!directSound) return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (deviceGuid && !(*deviceGuid == GUID_NULL)) return DSERR_NODRIVER;  // only the default device exists
    std::shared_ptr<SoundOutput> output = SoundOutput::Open();
    if (!output) return DSERR_NODRIVER;
    *directSound = new (std::nothrow) DirectSound(std::move(output));
    return *directSound ? DS_OK : DSERR_OUTOFMEMORY;
}
