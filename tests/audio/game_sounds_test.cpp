#include <gtest/gtest.h>

#include <unistd.h>

#include "audio/game_sounds.h"
#include "audio/sound.h"
#include "audio/sound_manager.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

// Each case runs in a fresh working directory: the waves are opened by bare name.
class GameSounds : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(mkdtemp(dir)), 0);
    }
    void TearDown() override {
        ReleaseGameSounds();
        for (const char* name : {"songfinal.wav", "bingl.wav", "bing2.wav"}) unlink(name);
        EXPECT_EQ(chdir(previous), 0);
        rmdir(dir);
    }
    static void Write(const char* name, const Bytes& bytes) {
        FILE* f = std::fopen(name, "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    HWND__ window;
    char previous[4096];
    char dir[32] = "/tmp/qf_sounds_XXXXXX";
};

TEST_F(GameSounds, LoadsTheThreeWavesIntoOneAndFiveAndFiveBuffers) {
    Write("songfinal.wav", PcmWave(Ramp(3000), 2, 16));
    Write("bingl.wav", PcmWave(Ramp(500, 3), 1, 8));
    Write("bing2.wav", PcmWave(Ramp(700, 9), 1, 16));
    EXPECT_EQ(InitGameSounds(&window), S_OK);
    ASSERT_NE(gameSounds.song, nullptr);
    ASSERT_NE(gameSounds.firstBing, nullptr);
    ASSERT_NE(gameSounds.secondBing, nullptr);
    EXPECT_EQ(gameSounds.song->bufferCount, 1u);
    EXPECT_EQ(gameSounds.firstBing->bufferCount, 5u);
    EXPECT_EQ(gameSounds.secondBing->creationFlags, DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME);
    void* p = nullptr;
    DWORD n = 0;
    ASSERT_EQ(gameSounds.secondBing->buffers[4]->Lock(0, 700, &p, &n, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(Bytes(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n), Ramp(700, 9));
}

TEST_F(GameSounds, MissingOrBrokenFilesOrNoDeviceLeaveSlotsEmpty) {
    Write("bingl.wav", Riff(PcmFormat()));  // no data chunk
    EXPECT_EQ(InitGameSounds(&window), E_FAIL);
    EXPECT_NE(gameSounds.manager->device, nullptr);
    EXPECT_EQ(gameSounds.song, nullptr);
    EXPECT_EQ(gameSounds.firstBing, nullptr);
    EXPECT_EQ(gameSounds.secondBing, nullptr);
    ReleaseGameSounds();

    Write("songfinal.wav", PcmWave(Ramp(100)));
    EXPECT_EQ(WithoutAudioDriver([&] { return InitGameSounds(&window); }), CO_E_NOTINITIALIZED);
    ASSERT_NE(gameSounds.manager, nullptr);
    EXPECT_EQ(gameSounds.manager->device, nullptr);
    EXPECT_EQ(gameSounds.song, nullptr);
}

}  // namespace
