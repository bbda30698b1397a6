// The DirectSound object on an SDL audio device. The device is opened paused
// and in queue mode: the game never plays a sound, but a machine without audio
// must be told apart from one with it.
#include <dlfcn.h>

#include <new>

#include <SDL.h>

#include "platform/desktop/dsound_objects.h"

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

// ALSA reports a missing sound card with eight lines on standard error while
// SDL's ALSA driver opens the device. The game carries on without sound then,
// so ALSA is kept quiet for the open: a failure needs no text.
extern "C" void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

class QuietAlsa {
public:
    // Only a library that SDL's driver has already loaded is silenced.
    QuietAlsa() : library(dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD)) {
        if (library) setHandler = reinterpret_cast<SetHandler>(dlsym(library, "snd_lib_error_set_handler"));
        if (setHandler) setHandler(IgnoreAlsaError);
    }
    ~QuietAlsa() {
        if (setHandler) setHandler(nullptr);  // back to ALSA's own handler
        if (library) dlclose(library);
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
    void* library;
    SetHandler setHandler = nullptr;
};

SDL_AudioDeviceID OpenQuietly(const SDL_AudioSpec& want, SDL_AudioSpec& have) {
    QuietAlsa quiet;
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
}

}  // namespace

std::shared_ptr<SoundOutput> SoundOutput::Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    SDL_AudioSpec have{};
    SDL_AudioDeviceID device = OpenQuietly(want, have);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    auto output = std::shared_ptr<SoundOutput>(new (std::nothrow) SoundOutput);
    if (!output) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    output->sdlDevice = device;
    // DirectSound's primary buffer starts at 22 kHz, 8-bit stereo.
    output->primaryFormat = {WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    return output;
}

SoundOutput::~SoundOutput() {
    SDL_CloseAudioDevice(sdlDevice);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

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
