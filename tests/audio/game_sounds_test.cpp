#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

#include "audio/game_sounds.h"
#include "audio/sound.h"
#include "audio/sound_manager.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

// Runs each case in a fresh working directory holding the given files.
class GameSoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        char pattern[] = "/tmp/qf_sounds_XXXXXX";
        dir = mkdtemp(pattern);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        ReleaseGameSounds();
        for (const char* name : {"songfinal.wav", "bingl.wav", "bing2.wav"}) unlink(name);
        EXPECT_EQ(chdir(previous.c_str()), 0);
        rmdir(dir.c_str());
    }
    static void Write(const char* name, const Bytes& bytes) {
        FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    HWND__ window;
    std::string previous, dir;
};

TEST_F(GameSoundsTest, LoadsTheThreeWavesByBareName) {
    Write("songfinal.wav", PcmWave(Ramp(3000), 2, 16));
    Write("bingl.wav", PcmWave(Ramp(500, 3), 1, 8));
    Write("bing2.wav", PcmWave(Ramp(700, 9), 1, 16));
    EXPECT_EQ(InitGameSounds(&window), S_OK);
    ASSERT_NE(gameSounds.manager, nullptr);
    ASSERT_NE(gameSounds.song, nullptr);
    ASSERT_NE(gameSounds.firstBing, nullptr);
    ASSERT_NE(gameSounds.secondBing, nullptr);
    EXPECT_EQ(gameSounds.song->bufferCount, 1u);
    EXPECT_EQ(gameSounds.firstBing->bufferCount, 5u);
    EXPECT_EQ(gameSounds.secondBing->bufferCount, 5u);
    EXPECT_EQ(gameSounds.firstBing->creationFlags, DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME);
    void* p = nullptr;
    DWORD n = 0;
    ASSERT_EQ(gameSounds.secondBing->buffers[4]->Lock(0, 700, &p, &n, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(Bytes(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n), Ramp(700, 9));

    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, GUID_NULL};
    LPDIRECTSOUNDBUFFER primary = nullptr;
    ASSERT_EQ(gameSounds.manager->device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    WAVEFORMATEX format{};
    primary->GetFormat(&format, sizeof format, nullptr);
    primary->Release();
    EXPECT_EQ(format.nChannels, 10);
    EXPECT_EQ(format.nBlockAlign, 20);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
}

TEST_F(GameSoundsTest, MissingAndBrokenFilesLeaveTheirSlotsEmpty) {
    Write("bingl.wav", Riff(PcmFormat()));  // no data chunk
    EXPECT_EQ(InitGameSounds(&window), E_FAIL);
    EXPECT_NE(gameSounds.manager, nullptr);
    EXPECT_EQ(gameSounds.song, nullptr);
    EXPECT_EQ(gameSounds.firstBing, nullptr);
    EXPECT_EQ(gameSounds.secondBing, nullptr);
}

TEST_F(GameSoundsTest, NoAudioDeviceStillRunsEveryStep) {
    Write("songfinal.wav", PcmWave(Ramp(100)));
    const char* before = getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "qf-no-such-driver", 1);
    HRESULT result = InitGameSounds(&window);
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(result, CO_E_NOTINITIALIZED);
    ASSERT_NE(gameSounds.manager, nullptr);
    EXPECT_EQ(gameSounds.manager->device, nullptr);
    EXPECT_EQ(gameSounds.song, nullptr);
}

}  // namespace
