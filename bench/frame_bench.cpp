// Complete frames during scripted play: first on the recording device (the
// game's own CPU cost, no GL driver), then on the OpenGL device in a window of
// the X screen's size. Prints frames per second and CPU milliseconds per frame.
// Run: LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1920x1080x24" ./build/bench/frame_bench
#include <SDL.h>

#include <cstdio>
#include <ctime>

#include "app/app_state.h"
#include "app/replay_script.h"
#include "platform/sdl_window.h"
#include "render/device_resources.h"
#include "render/frame.h"
#include "render/recording_renderer.h"
#include "render/vertex_batch.h"
#include "world/new_game.h"
#include "world/sprites.h"
#include "world/world_tables.h"

namespace {

const int kFrames = 600;

// Walks a square while firing around the compass, so shots, kills and rag
// dolls are all in the picture.
const char kPlay[] =
    "2 WM_MOUSEMOVE 900 250\n2 WM_LBUTTONDOWN\n"
    "60 WM_KEYDOWN W\n120 WM_KEYUP W\n120 WM_KEYDOWN D\n"
    "150 WM_MOUSEMOVE 300 250\n180 WM_KEYUP D\n180 WM_KEYDOWN S\n"
    "240 WM_KEYUP S\n240 WM_KEYDOWN A\n260 WM_MOUSEMOVE 640 650\n300 WM_KEYUP A\n"
    "380 WM_MOUSEMOVE 1100 400\n470 WM_MOUSEMOVE 100 100\n";

double Seconds(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Timing {
    double wall = 0.0, cpu = 0.0;
};

Timing Play(const ReplayScript& script) {
    gameState = Title;
    NewGame();
    size_t next = 0;
    const double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int frame = 1; frame <= kFrames; ++frame) {
        FeedReplayEvents(script, frame, next);
        RunFrame();
    }
    return Timing{Seconds(CLOCK_MONOTONIC) - wall0, Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0};
}

void Report(const char* what, int width, int height, const Timing& t) {
    std::printf("%-17s %4dx%-4d  %8.1f frames/s  %7.3f ms CPU/frame  (%d frames, kills %d)\n", what, width, height,
                kFrames / t.wall, 1000.0 * t.cpu / kFrames, kFrames, static_cast<int>(killCount));
}

bool RunRecording(const ReplayScript& script, int width, int height) {
    if (!InstallRecordingRenderer(width, height, nullptr) || CreateBatchBuffer() < 0) return false;
    Report("recording device", width, height, Play(script));
    ReleaseResources();
    return true;
}

bool RunGl(const ReplayScript& script, int width, int height) {
    HWND__ window;
    SetGameWindowGlAttributes();
    window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, width, height, SDL_WINDOW_OPENGL);
    if (window.sdlWindow == nullptr) return false;
    const bool ok = CreateDeviceAndResources(&window) >= 0 && CreateBatchBuffer() >= 0;
    if (ok) Report("OpenGL (llvmpipe)", width, height, Play(script));
    ReleaseResources();
    SDL_DestroyWindow(window.sdlWindow);
    return ok;
}

}  // namespace

int main() {
    ReplayScript script;
    ParseReplayScript(kPlay, script);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "frame_bench: no video: %s\n", SDL_GetError());
        return 1;
    }
    SDL_DisplayMode mode;
    SDL_GetDesktopDisplayMode(0, &mode);
    appState.screenWidth = static_cast<float>(mode.w);
    appState.screenHeight = static_cast<float>(mode.h);
    if (!RunRecording(script, mode.w, mode.h) || !RunGl(script, mode.w, mode.h)) {
        std::fprintf(stderr, "frame_bench: the device could not be set up\n");
        return 1;
    }
    SDL_Quit();
    return 0;
}
