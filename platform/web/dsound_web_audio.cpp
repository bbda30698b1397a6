// The sound output on the page's Web Audio context. Nothing plays, as on the
// desktop, but a browser without Web Audio is told apart from one with it. The
// context starts suspended until the player's first gesture, which changes nothing here.
#include <emscripten.h>

#include <new>

#include "platform/dsound/dsound_objects.h"

namespace {
// 1 + the index of a new context in the page's list, or 0 without Web Audio.
EM_JS(int, OpenAudioContext, (), {
    var Context = typeof AudioContext !== "undefined" ? AudioContext
                : typeof webkitAudioContext !== "undefined" ? webkitAudioContext : null;
    if (!Context) return 0;
    try {
        var contexts = Module.quillfrostAudio || (Module.quillfrostAudio = []);
        contexts.push(new Context());
        return contexts.length;
    } catch (e) {
        return 0;
    }
});

EM_JS(void, CloseAudioContext, (int handle), {
    var contexts = Module.quillfrostAudio;
    if (!contexts || !contexts[handle - 1]) return;
    contexts[handle - 1].close();
    contexts[handle - 1] = null;
});
}  // namespace

std::shared_ptr<SoundOutput> SoundOutput::Open() {
    int handle = OpenAudioContext();
    if (handle == 0) return nullptr;
    auto output = std::shared_ptr<SoundOutput>(new (std::nothrow) SoundOutput);
    if (!output) {
        CloseAudioContext(handle);
        return nullptr;
    }
    output->device = static_cast<uint32_t>(handle);
    // DirectSound's primary buffer starts at 22 kHz, 8-bit stereo.
    output->primaryFormat = {WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    return output;
}

SoundOutput::~SoundOutput() { CloseAudioContext(static_cast<int>(device)); }
