#include <gtest/gtest.h>

#include "audio/sound.h"
#include "audio/sound_manager.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

Bytes Contents(LPDIRECTSOUNDBUFFER buffer, DWORD size) {
    void* p = nullptr;
    DWORD n = 0;
    EXPECT_EQ(buffer->Lock(0, size, &p, &n, nullptr, nullptr, 0), DS_OK);
    buffer->Unlock(p, n, nullptr, 0);
    return Bytes(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n);
}

WAVEFORMATEX PrimaryFormat(IDirectSound8* device) {
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, GUID_NULL};
    LPDIRECTSOUNDBUFFER primary = nullptr;
    WAVEFORMATEX format{};
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    primary->GetFormat(&format, sizeof format, nullptr);
    primary->Release();
    return format;
}

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        ASSERT_EQ(manager.Initialize(&window, DSSCL_PRIORITY), S_OK);
    }
    HRESULT Create(const Bytes& wave, DWORD flags, DWORD count) {
        file = std::make_unique<TempFile>(wave);
        return manager.Create(&sound, file->WidePath().c_str(), flags, GUID_NULL, count);
    }
    HWND__ window;
    SoundManager manager;
    Sound* sound = nullptr;
    std::unique_ptr<TempFile> file;
};

TEST_F(SoundManagerTest, DuplicatesShareBufferZeroAndEffectBuffersStandAlone) {
    Bytes data = Ramp(1000);
    ASSERT_EQ(Create(PcmWave(data, 2, 16), DSBCAPS_CTRLVOLUME, 5), S_OK);
    ASSERT_EQ(sound->bufferCount, 5u);
    EXPECT_EQ(sound->bufferSize, 1000u);
    for (DWORD i = 0; i < 5; ++i) EXPECT_EQ(Contents(sound->buffers[i], 1000), data) << i;
    delete sound;

    ASSERT_EQ(Create(PcmWave(data, 2, 16), DSBCAPS_CTRLFX, 5), S_OK);
    EXPECT_EQ(Contents(sound->buffers[0], 1000), data);
    for (DWORD i = 1; i < 5; ++i) EXPECT_EQ(Contents(sound->buffers[i], 1000), Bytes(1000, 0)) << i;
    delete sound;
}

TEST_F(SoundManagerTest, FailedCreationsStoreNothing) {
    Sound* const untouched = reinterpret_cast<Sound*>(&window);
    sound = untouched;
    EXPECT_EQ(manager.Create(&sound, L"/tmp/qf_audio_none/missing.wav", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(Create(PcmWave({}), 0, 1), E_FAIL);
    EXPECT_EQ(Create(PcmWave(Ramp(2)), 0, 1), DSERR_INVALIDPARAM);  // below DirectSound's minimum
    Bytes adpcm = Riff(Cat({Chunk("fmt ", Cat({FormatBody(2, 1, 4), Bytes{0, 0}})), Chunk("data", Ramp(64))}));
    EXPECT_EQ(Create(adpcm, 0, 3), DSERR_BADFORMAT);
    EXPECT_EQ(Create(PcmWave(Ramp(8)), 0, 0), E_INVALIDARG);
    EXPECT_EQ(sound, untouched);
}

TEST_F(SoundManagerTest, PrimaryFormatAsksForChannelsTimesSampleBytes) {
    ASSERT_EQ(manager.SetPrimaryBufferFormat(10, 22050, 16), S_OK);
    WAVEFORMATEX format = PrimaryFormat(manager.device);
    EXPECT_EQ(format.nBlockAlign, 20);
    EXPECT_EQ(format.nAvgBytesPerSec, 441000u);
    // A refused format is reported and changes nothing.
    EXPECT_EQ(manager.SetPrimaryBufferFormat(2, 22050, 12), DSERR_BADFORMAT);
    EXPECT_EQ(PrimaryFormat(manager.device).nBlockAlign, 20);
}

}  // namespace
