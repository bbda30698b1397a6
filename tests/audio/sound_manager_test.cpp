#include <gtest/gtest.h>

#include "audio/sound.h"
#include "audio/sound_manager.h"
#include "audio/wave_file.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

Bytes Contents(LPDIRECTSOUNDBUFFER buffer, DWORD size) {
    void* p = nullptr;
    DWORD n = 0;
    EXPECT_EQ(buffer->Lock(0, size, &p, &n, nullptr, nullptr, 0), DS_OK);
    Bytes bytes(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n);
    buffer->Unlock(p, n, nullptr, 0);
    return bytes;
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
    void TearDown() override { delete sound; }
    WAVEFORMATEX PrimaryFormat() {
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, GUID_NULL};
        LPDIRECTSOUNDBUFFER primary = nullptr;
        WAVEFORMATEX format{};
        EXPECT_EQ(manager.device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
        if (primary) primary->GetFormat(&format, sizeof(format), nullptr);
        if (primary) primary->Release();
        return format;
    }
    HWND__ window;
    SoundManager manager;
    Sound* sound = nullptr;
    std::unique_ptr<TempFile> file;
};

TEST_F(SoundManagerTest, DuplicatesShareBufferZerosData) {
    Bytes data = Ramp(1000);
    ASSERT_EQ(Create(PcmWave(data, 2, 16), DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME, 5), S_OK);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->bufferCount, 5u);
    EXPECT_EQ(sound->bufferSize, 1000u);
    EXPECT_EQ(sound->creationFlags, DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME);
    ASSERT_NE(sound->waveFile, nullptr);
    EXPECT_EQ(sound->waveFile->format->nChannels, 2);
    for (DWORD i = 0; i < 5; ++i) EXPECT_EQ(Contents(sound->buffers[i], 1000), data) << i;
    // Writing through a duplicate shows in buffer 0: one block of bytes.
    void* p = nullptr;
    DWORD n = 0;
    ASSERT_EQ(sound->buffers[3]->Lock(0, 4, &p, &n, nullptr, nullptr, 0), DS_OK);
    static_cast<BYTE*>(p)[0] = 0x99;
    sound->buffers[3]->Unlock(p, n, nullptr, 0);
    EXPECT_EQ(Contents(sound->buffers[0], 1000)[0], 0x99);
}

TEST_F(SoundManagerTest, EffectBuffersAreIndependentAndOnlyTheFirstIsFilled) {
    Bytes data = Ramp(2000);
    ASSERT_EQ(Create(PcmWave(data, 1, 16), DSBCAPS_CTRLFX, 5), S_OK);
    EXPECT_EQ(Contents(sound->buffers[0], 2000), data);
    for (DWORD i = 1; i < 5; ++i) EXPECT_EQ(Contents(sound->buffers[i], 2000), Bytes(2000, 0)) << i;
}

TEST_F(SoundManagerTest, FailedCreationsStoreNothing) {
    Sound* const untouched = reinterpret_cast<Sound*>(&window);
    sound = untouched;
    EXPECT_EQ(manager.Create(&sound, L"/tmp/qf_audio_none/missing.wav", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(sound, untouched);
    // Empty data, a data size below DirectSound's minimum, a format it cannot hold.
    Bytes adpcm = Riff(Cat({Chunk("fmt ", Cat({FormatBody(2, 1, 22050, 4), Bytes{0, 0}})), Chunk("data", Ramp(64))}));
    EXPECT_EQ(Create(PcmWave({}), 0, 1), E_FAIL);
    EXPECT_EQ(Create(PcmWave(Ramp(2)), 0, 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(adpcm, 0, 3), DSERR_BADFORMAT);
    EXPECT_EQ(Create(PcmWave(Ramp(8)), 0, 0), E_INVALIDARG);
    EXPECT_EQ(manager.Create(nullptr, L"x.wav", 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(manager.Create(&sound, nullptr, 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(sound, untouched);
    sound = nullptr;
}

TEST_F(SoundManagerTest, ThreeDAlgorithmFallbackIsPassedOn) {
    GUID hrtf{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    file = std::make_unique<TempFile>(PcmWave(Ramp(64), 1, 16));
    EXPECT_EQ(manager.Create(&sound, file->WidePath().c_str(), DSBCAPS_CTRL3D, hrtf, 2), DS_NO_VIRTUALIZATION);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(Contents(sound->buffers[1], 64), Ramp(64));
}

TEST_F(SoundManagerTest, PrimaryFormatAsksForChannelsTimesSampleBytes) {
    ASSERT_EQ(manager.SetPrimaryBufferFormat(10, 22050, 16), S_OK);
    WAVEFORMATEX format = PrimaryFormat();
    EXPECT_EQ(format.nChannels, 10);
    EXPECT_EQ(format.nBlockAlign, 20);
    EXPECT_EQ(format.nAvgBytesPerSec, 441000u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    ASSERT_EQ(manager.SetPrimaryBufferFormat(1, 8000, 8), S_OK);
    EXPECT_EQ(PrimaryFormat().nBlockAlign, 1);
    // A refused format is reported, and the device keeps working.
    EXPECT_EQ(manager.SetPrimaryBufferFormat(2, 22050, 12), DSERR_BADFORMAT);
    EXPECT_EQ(PrimaryFormat().nSamplesPerSec, 8000u);
    EXPECT_EQ(Create(PcmWave(Ramp(8)), 0, 1), S_OK);
}

TEST(SoundManager, WithoutADeviceNothingIsCreated) {
    SoundManager manager;
    Sound* sound = nullptr;
    EXPECT_EQ(manager.SetPrimaryBufferFormat(2, 22050, 16), CO_E_NOTINITIALIZED);
    EXPECT_EQ(manager.Create(&sound, L"x.wav", 0, GUID_NULL, 1), CO_E_NOTINITIALIZED);
    EXPECT_EQ(sound, nullptr);
    UseSilentAudioDriver();
    EXPECT_EQ(manager.Initialize(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    HWND__ window;
    EXPECT_EQ(manager.Initialize(&window, DSSCL_PRIORITY), S_OK);  // replaces the first device
    EXPECT_NE(manager.device, nullptr);
}

}  // namespace
