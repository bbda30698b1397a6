#include <gtest/gtest.h>

#include "audio/game_sounds.h"
#include "audio/sound.h"
#include "audio/sound_manager.h"
#include "platform/desktop/sdl_window.h"
#include "riff_bytes.h"

namespace {

Bytes Contents(LPDIRECTSOUNDBUFFER buffer, DWORD size) {
    void* p = nullptr;
    DWORD n = 0;
    EXPECT_EQ(buffer->Lock(0, size, &p, &n, nullptr, nullptr, 0), DS_OK);
    buffer->Unlock(p, n, nullptr, 0);
    return Bytes(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n);
}

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        ASSERT_EQ(manager.Initialize(&window, DSSCL_PRIORITY), S_OK);
    }
    HRESULT Create(const Bytes& wave, DWORD flags, DWORD count) {
        const std::string name = std::to_string(written++) + ".wav";  // an earlier sound may still read its file
        dir.MakeFile(name, wave);
        return manager.Create(&sound, Wide(dir.Path(name)).c_str(), flags, GUID_NULL, count);
    }
    WORD PrimaryBlockAlign() {
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, GUID_NULL};
        LPDIRECTSOUNDBUFFER primary = nullptr;
        WAVEFORMATEX format{};
        EXPECT_EQ(manager.device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
        primary->GetFormat(&format, sizeof format, nullptr);
        primary->Release();
        return format.nBlockAlign;
    }
    HWND__ window;
    SoundManager manager;
    Sound* sound = nullptr;
    TempTree dir;
    int written = 0;
};

TEST_F(SoundManagerTest, DuplicatesShareBufferZeroAndEffectBuffersStandAlone) {
    Bytes data = Ramp(1000);
    for (DWORD flags : {DSBCAPS_CTRLVOLUME, DSBCAPS_CTRLFX}) {
        ASSERT_EQ(Create(PcmWave(data, 2, 16), flags, 5), S_OK);
        ASSERT_EQ(std::make_pair(sound->bufferCount, sound->bufferSize), std::make_pair(5u, 1000u));
        EXPECT_EQ(Contents(sound->buffers[0], 1000), data);
        for (DWORD i = 1; i < 5; ++i)
            EXPECT_EQ(Contents(sound->buffers[i], 1000), flags == DSBCAPS_CTRLFX ? Bytes(1000, 0) : data) << i;
        delete sound;
    }
}

TEST_F(SoundManagerTest, FailedCreationsStoreNothing) {
    Sound* const untouched = reinterpret_cast<Sound*>(&window);
    sound = untouched;
    EXPECT_EQ(manager.Create(&sound, L"/tmp/qf_audio_none/missing.wav", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(Create(PcmWave({}), 0, 1), E_FAIL);
    EXPECT_EQ(Create(PcmWave(Ramp(2)), 0, 1), DSERR_INVALIDPARAM);  // below DirectSound's minimum
    EXPECT_EQ(Create(Riff(Cat({Chunk("fmt ", Cat({FormatBody(2, 1, 4), Le(0, 2)})), Chunk("data", Ramp(64))})), 0, 3),
              DSERR_BADFORMAT);
    EXPECT_EQ(Create(PcmWave(Ramp(8)), 0, 0), E_INVALIDARG);
    EXPECT_EQ(sound, untouched);
}

TEST_F(SoundManagerTest, PrimaryFormatAsksForChannelsTimesSampleBytes) {
    ASSERT_EQ(manager.SetPrimaryBufferFormat(10, 22050, 16), S_OK);
    EXPECT_EQ(PrimaryBlockAlign(), 20);
    // A refused format is reported and changes nothing.
    EXPECT_EQ(manager.SetPrimaryBufferFormat(2, 22050, 12), DSERR_BADFORMAT);
    EXPECT_EQ(PrimaryBlockAlign(), 20);
}

TEST_F(SoundManagerTest, LocksOutsideTheBufferAreRefused) {
    ASSERT_EQ(Create(PcmWave(Ramp(100), 1, 8), 0, 1), S_OK);
    LPDIRECTSOUNDBUFFER buffer = sound->buffers[0];
    void *p1 = nullptr, *p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(90, 10, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(buffer->Lock(100, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(static_cast<BYTE*>(p1), 11, nullptr, 0), DSERR_INVALIDPARAM);
    delete sound;
}

// Each case runs in a fresh working directory: the waves are opened by bare name.
class GameSounds : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        dir.EnterDir(".");
    }
    void TearDown() override {
        ReleaseGameSounds();
        unsetenv("AUDIODEV");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    HWND__ window;
    TempTree dir;
};

TEST_F(GameSounds, LoadsEachWaveIntoItsSlotWithOneAndFiveAndFiveBuffers) {
    dir.MakeFile("songfinal.wav", PcmWave(Ramp(3000), 2, 16));
    dir.MakeFile("bingl.wav", PcmWave(Ramp(500), 1, 8));
    dir.MakeFile("bing2.wav", PcmWave(Ramp(700), 1, 16));
    EXPECT_EQ(InitGameSounds(&window), S_OK);
    for (auto [sound, size, count] : {std::tuple{gameSounds.song, 3000u, 1u}, {gameSounds.firstBing, 500u, 5u},
                                      {gameSounds.secondBing, 700u, 5u}}) {
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(std::make_pair(sound->bufferSize, sound->bufferCount), std::make_pair(DWORD(size), DWORD(count)));
        EXPECT_EQ(sound->creationFlags, DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME);
    }
}

// No driver at all, then ALSA without the device it is told to open (as on a
// machine without a sound card): the set-up carries on and prints nothing.
TEST_F(GameSounds, WithoutAnAudioDeviceTheSlotsStayEmptyAndNothingIsPrinted) {
    dir.MakeFile("songfinal.wav", PcmWave(Ramp(100)));
    setenv("AUDIODEV", "qf-no-such-device", 1);
    for (const char* driver : {"qf-no-such-driver", "alsa"}) {
        SCOPED_TRACE(driver);
        setenv("SDL_AUDIODRIVER", driver, 1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(InitGameSounds(&window), CO_E_NOTINITIALIZED);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        ASSERT_NE(gameSounds.manager, nullptr);
        EXPECT_EQ(gameSounds.manager->device, nullptr);
        EXPECT_EQ(gameSounds.song, nullptr);
        ReleaseGameSounds();
    }
}

}  // namespace
