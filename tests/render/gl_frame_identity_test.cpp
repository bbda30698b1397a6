// Every frame of a title, a game with shots and kills, and a death must come
// out byte for byte as it did before the GL layer changed how it hands draws to
// the driver. The references are hashes of each phase's frames, made on the
// renderer and screen size named below; anywhere else the test skips, as other
// drivers and releases round edges differently.
#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/fnv1a.h"
#include "app/input.h"
#include "capturing_device.h"
#include "platform/desktop/sdl_window.h"
#include "render/device_resources.h"
#include "render/camera.h"
#include "render/frame.h"
#include "render/vertex_batch.h"
#include "support/golden_checkpoints.h"
#include "world/game_random.h"
#include "world/new_game.h"
#include "world/player_gun.h"
#include "world/sprites.h"
#include "world/world_tables.h"

namespace {

const char kReferenceVersion[] = "4.5 (Core Profile) Mesa 22.3.6";
const int kReferenceWidth = 1280, kReferenceHeight = 720;

class FrameIdentity : public ::testing::Test {
protected:
    HWND__ window{};
    IDirect3DDevice9* realDevice = nullptr;
    CapturingDevice* capture = nullptr;
    int width = 0, height = 0;

    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_DisplayMode mode;
        ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
        width = mode.w;
        height = mode.h;
        // The references are of a game started in a fresh process: the tables
        // go back to their start values, whatever tests ran before in this one
        // (a moved root or a batch left mid-strip changes the first frames).
        // A static record is zeroed before it is constructed, and the body's
        // tables have no initialisers of their own. Each body draws its colour
        // from the generator, which starts at 1.
        game::SetRandState(1);
        for (Creature& c : creatures) {
            std::destroy_at(&c);
            std::memset(static_cast<void*>(&c), 0, sizeof c);
            std::construct_at(&c);
        }
        for (Vec4& s : separation) s = Vec4();
        vertexBatch = VertexBatch{};
        inputState = InputState{};
        playerGun = PlayerGun{};
        killCount = 0;
        mouseAim = 1;
        titleBlink = fireTimer = 0.0f;
        cameraEye = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
        appState.screenWidth = float(width);
        appState.screenHeight = float(height);
        SetGameWindowGlAttributes();
        window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, width, height, SDL_WINDOW_OPENGL);
        ASSERT_NE(window.sdlWindow, nullptr) << SDL_GetError();
        ASSERT_GE(CreateDeviceAndResources(&window), 0) << "media generated into the build folder?";
        ASSERT_GE(CreateBatchBuffer(), 0);
        realDevice = renderer.device;
        capture = new CapturingDevice(realDevice, width, height);
        renderer.device = capture;
        gameState = Title;
        NewGame();
    }
    void TearDown() override {
        if (realDevice != nullptr) renderer.device = realDevice;
        delete capture;
        ReleaseResources();
        if (window.sdlWindow != nullptr) SDL_DestroyWindow(window.sdlWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Runs one frame and folds its pixels into the phase's hash, which is
    // read after every tenth frame of the phase and after its last.
    void Frame(Fnv1a& hash, const char* phase, int frame) {
        capture->captureNextPresent = true;
        RunFrame();
        ASSERT_EQ(capture->rgba.size(), size_t(width) * size_t(height) * 4) << "no read-back";
        hash.Bytes(capture->rgba.data(), capture->rgba.size());
        if (frame % 10 == 0) Checkpoint(hash, phase, frame);
    }
    void EndPhase(const Fnv1a& hash, const char* phase, int frames) {
        if (frames % 10 != 0) Checkpoint(hash, phase, frames);
    }
    void Checkpoint(const Fnv1a& hash, const char* phase, int frame) {
        hashes.push_back(hash.value);
        names.push_back(std::string(phase) + " frame " + std::to_string(frame));
    }
    std::vector<uint64_t> hashes;
    std::vector<std::string> names;
    static void Send(UINT message, LPARAM lParam = 0) { HandleInputMessage(MSG{nullptr, message, 0, lParam, 0, {}}); }
};

TEST_F(FrameIdentity, TitlePlayAndDeathFramesMatchTheReferences) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (version == nullptr || name == nullptr || std::strcmp(version, kReferenceVersion) != 0 ||
        std::strncmp(name, "llvmpipe", 8) != 0 || width != kReferenceWidth || height != kReferenceHeight)
        GTEST_SKIP() << "references are for llvmpipe, " << kReferenceVersion << ", " << kReferenceWidth << "x"
                     << kReferenceHeight << "; this is " << (name ? name : "?") << ", " << (version ? version : "?")
                     << ", " << width << "x" << height;

    const uint64_t start = 0xcbf29ce484222325ull;  // FNV's own offset basis
    Fnv1a title{start}, play{start}, death{start};
    for (int f = 1; f <= 30; ++f) Frame(title, "title", f);  // the picture shows from the 21st frame

    Send(WM_MOUSEMOVE, MAKELPARAM(width * 3 / 4, height / 3));
    Send(WM_LBUTTONDOWN);
    int frames = 0;
    for (; frames < 600 && killCount < 2; ++frames) Frame(play, "play", frames + 1);
    EndPhase(play, "play", frames);
    ASSERT_GE(killCount, 2);

    Send(WM_LBUTTONUP);
    for (int f = 0; f < 4000 && creatures[0].alive; ++f) RunFrame();
    ASSERT_EQ(creatures[0].alive, 0);
    for (int f = 1; f <= 30; ++f) Frame(death, "death", f);

    std::printf("frame hashes: title %016llx, play %016llx (%d frames), death %016llx\n",
                static_cast<unsigned long long>(title.value), static_cast<unsigned long long>(play.value), frames,
                static_cast<unsigned long long>(death.value));
    // Title frames 10, 20, 30; play frames 10 to 100; death frames 10, 20, 30.
    const std::vector<uint64_t> golden = {
        0xf80d28da79014439u, 0x5cda418c665df170u, 0x18569fbf4b004401u, 0xa7aa01a40960f194u, 0x454e80a715be1e0au,
        0x672891ae72713e3eu, 0xc9c597f2ab689b1cu, 0x7b82ce843b9d45e1u, 0x38a9096caf8c3ec9u, 0xe455c5a352751bd6u,
        0x7a4d788ff2033db7u, 0x3ebf2927b6c0ac3au, 0xba97ba3f09d16a6eu, 0x8667a20c1cb285f7u, 0x6b83f88d4d4fa126u,
        0x4553f507d332fde1u};
    EXPECT_TRUE(MatchesGoldenSequence(hashes, golden, [&](size_t i) {
        return i < names.size() ? names[i] : "checkpoint " + std::to_string(i + 1) + " (the run has fewer)";
    }));
}

}  // namespace
