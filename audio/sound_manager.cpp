#include "audio/sound_manager.h"

#include <new>

#include "audio/sound.h"
#include "audio/wave_file.h"

namespace {

void ReleaseAll(LPDIRECTSOUNDBUFFER* buffers, DWORD count) {
    for (DWORD i = 0; i < count; ++i)
        if (buffers[i]) buffers[i]->Release();
}

}  // namespace

SoundManager::~SoundManager() {
    if (device) device->Release();
}

HRESULT SoundManager::Initialize(HWND window, DWORD cooperativeLevel) {
    if (device) device->Release();
    device = nullptr;
    HRESULT result = DirectSoundCreate8(nullptr, &device, nullptr);
    if (FAILED(result)) return result;
    result = device->SetCooperativeLevel(window, cooperativeLevel);
    return FAILED(result) ? result : S_OK;
}

HRESULT SoundManager::SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSecond, DWORD bitsPerSample) {
    if (!device) return CO_E_NOTINITIALIZED;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    LPDIRECTSOUNDBUFFER primary = nullptr;
    HRESULT result = device->CreateSoundBuffer(&desc, &primary, nullptr);
    if (FAILED(result)) return result;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = samplesPerSecond;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * (bitsPerSample / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.cbSize = 0;
    result = primary->SetFormat(&format);
    primary->Release();
    return FAILED(result) ? result : S_OK;
}

HRESULT SoundManager::Create(Sound** sound, LPCWSTR fileName, DWORD creationFlags, GUID algorithm3D,
                             DWORD bufferCount) {
    if (!device) return CO_E_NOTINITIALIZED;
    if (!fileName || !sound || bufferCount == 0) return E_INVALIDARG;
    auto* buffers = new (std::nothrow) LPDIRECTSOUNDBUFFER[bufferCount]();
    if (!buffers) return E_OUTOFMEMORY;
    auto* wave = new (std::nothrow) WaveFile;
    if (!wave) {
        delete[] buffers;
        return E_OUTOFMEMORY;
    }
    wave->Open(fileName, WaveFile::kModeRead);
    HRESULT result = wave->size == 0 ? E_FAIL : S_OK;
    HRESULT created = S_OK;
    if (SUCCEEDED(result)) {
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), creationFlags, wave->size, 0, wave->format, algorithm3D};
        created = device->CreateSoundBuffer(&desc, &buffers[0], nullptr);
        result = created == DS_NO_VIRTUALIZATION ? S_OK : created;
        for (DWORD i = 1; i < bufferCount && SUCCEEDED(result); ++i)
            result = (creationFlags & DSBCAPS_CTRLFX) ? device->CreateSoundBuffer(&desc, &buffers[i], nullptr)
                                                      : device->DuplicateSoundBuffer(buffers[0], &buffers[i]);
    }
    if (FAILED(result)) {
        ReleaseAll(buffers, bufferCount);
        delete[] buffers;
        delete wave;
        return result;
    }
    *sound = new Sound(buffers, wave->size, bufferCount, wave, creationFlags);
    delete[] buffers;
    return created == DS_NO_VIRTUALIZATION ? DS_NO_VIRTUALIZATION : S_OK;
}
