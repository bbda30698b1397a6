// The sound output on an SDL audio device, opened paused and in queue mode.
#include <dlfcn.h>

#include <new>

#include <SDL.h>

#include "platform/dsound/dsound_objects.h"

namespace {

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
    output->device = device;
    // DirectSound's primary buffer starts at 22 kHz, 8-bit stereo.
    output->primaryFormat = {WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    return output;
}

SoundOutput::~SoundOutput() {
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
