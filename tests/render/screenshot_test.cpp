#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_state.h"
#include "app/input.h"
#include "capturing_device.h"
#include "platform/sdl_window.h"
#include "render/device_resources.h"
#include "render/frame.h"
#include "world/new_game.h"
#include "world/sprites.h"
#include "world/world_tables.h"

namespace {

// The real start-up on a window the size of the X screen, with the game's
// generated media; frames are captured just before they are presented.
class Screens : public ::testing::Test {
protected:
    static inline HWND__ window;
    static inline IDirect3DDevice9* realDevice = nullptr;
    static inline CapturingDevice* capture = nullptr;
    static inline int width = 0, height = 0;

    static void SetUpTestSuite() {
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
    static void TearDownTestSuite() {
        if (realDevice != nullptr) renderer.device = realDevice;
        delete capture;
        ReleaseResources();
        if (window.sdlWindow != nullptr) SDL_DestroyWindow(window.sdlWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Runs one frame and writes it as build/screenshot_<name>.png.
    static void Shoot(const char* name) {
        capture->captureNextPresent = true;
        RunFrame();
        ASSERT_FALSE(capture->rgba.empty()) << "no read-back";
        const std::string base = std::string(QF_BINARY_DIR) + "/screenshot_" + name;
        FILE* f = std::fopen((base + ".ppm").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fprintf(f, "P6\n%d %d\n255\n", width, height);
        for (size_t i = 0; i < capture->rgba.size(); i += 4) std::fwrite(&capture->rgba[i], 1, 3, f);
        std::fclose(f);
        EXPECT_EQ(std::system(("convert " + base + ".ppm " + base + ".png && rm " + base + ".ppm").c_str()), 0);
    }
    // Pixels whose channels pass the given tests: <0 means at most -t, >0 at least t.
    static int Count(int r, int g, int b) {
        int n = 0;
        auto passes = [](int value, int t) { return t < 0 ? value <= -t : value >= t; };
        for (size_t i = 0; i < capture->rgba.size(); i += 4)
            n += passes(capture->rgba[i], r) && passes(capture->rgba[i + 1], g) && passes(capture->rgba[i + 2], b);
        return n;
    }
    static void Send(UINT message, LPARAM lParam = 0) { HandleInputMessage(MSG{nullptr, message, 0, lParam, 0, {}}); }
};

TEST_F(Screens, TitleThenPlayWithShotsAndACountThenDeath) {
    for (int f = 0; f < 24; ++f) RunFrame();
    Shoot("title");  // the blink itself is pinned by the frame and end-to-end tests

    // Start with the mouse and fire to the upper right until something dies.
    Send(WM_MOUSEMOVE, MAKELPARAM(width * 3 / 4, height / 3));
    Send(WM_LBUTTONDOWN);
    for (int f = 0; f < 600 && killCount < 1; ++f) RunFrame();
    ASSERT_GE(killCount, 1);
    Shoot("play");
    EXPECT_GT(Count(150, 150, -90), 20) << "yellow shots";
    EXPECT_GT(Count(-60, -60, 150), 50) << "the blue count";

    Send(WM_LBUTTONUP);
    for (int f = 0; f < 4000 && creatures[0].alive; ++f) RunFrame();
    ASSERT_EQ(creatures[0].alive, 0);
    for (int f = 0; f < 30; ++f) RunFrame();
    Shoot("death");
    EXPECT_EQ(gameState, Playing);
}

}  // namespace
