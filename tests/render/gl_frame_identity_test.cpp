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

#include "app/app_state.h"
#include "app/fnv1a.h"
#include "app/input.h"
#include "capturing_device.h"
#include "platform/desktop/sdl_window.h"
#include "render/device_resources.h"
#include "render/frame.h"
#include "world/new_game.h"
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

    // Runs one frame and folds its pixels into the phase's hash.
    void Frame(Fnv1a& hash) {
        capture->captureNextPresent = true;
        RunFrame();
        ASSERT_EQ(capture->rgba.size(), size_t(width) * size_t(height) * 4) << "no read-back";
        hash.Bytes(capture->rgba.data(), capture->rgba.size());
    }
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
    for (int f = 0; f < 30; ++f) Frame(title);  // the picture shows from the 21st frame

    Send(WM_MOUSEMOVE, MAKELPARAM(width * 3 / 4, height / 3));
    Send(WM_LBUTTONDOWN);
    int frames = 0;
    for (; frames < 600 && killCount < 2; ++frames) Frame(play);
    ASSERT_GE(killCount, 2);

    Send(WM_LBUTTONUP);
    for (int f = 0; f < 4000 && creatures[0].alive; ++f) RunFrame();
    ASSERT_EQ(creatures[0].alive, 0);
    for (int f = 0; f < 30; ++f) Frame(death);

    std::printf("frame hashes: title %016llx, play %016llx (%d frames), death %016llx\n",
                static_cast<unsigned long long>(title.value), static_cast<unsigned long long>(play.value), frames,
                static_cast<unsigned long long>(death.value));
    EXPECT_EQ(title.value, 0x18569fbf4b004401ull);
    EXPECT_EQ(play.value, 0xba97ba3f09d16a6eull);
    EXPECT_EQ(death.value, 0x4553f507d332fde1ull);
}

}  // namespace
