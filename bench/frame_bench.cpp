// Complete frames during scripted play: first on the recording device (the
// game's own CPU cost, no GL driver), then on the OpenGL device in a window of
// the X screen's size. Prints frames per second and CPU milliseconds per frame.
// Run: LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1920x1080x24" ./build/bench/frame_bench
//
// "compare [rounds]" plays, in windows of 320x180 and 1280x720 (the X screen
// must be at least that big), alternately with long strips drawn whole (the
// old way) and in pieces (the new way), and prints the medians, the spread and
// the ratios. "sweep [WxH]" plays once per strip piece length. "costs [WxH]"
// plays once with every draw, then once without each part of the frame, and
// once on the title screen with and without the title picture.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/app_state.h"
#include "app/replay_script.h"
#include "platform/gl/gl_draw_options.h"
#include "platform/desktop/sdl_window.h"
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

// The parts of a frame, told apart by their order: the floor and the walls,
// the score, the sprites before the figures (title picture, cursor), the
// figures lit, their shadows, the sprites after them (shots).
enum Part { kArena, kScore, kFirstSprites, kFigures, kShadows, kShots, kNoPart };
const char* const kPartNames[] = {"floor and walls", "score", "title picture, cursor", "figures lit",
                                  "figure shadows", "shots", "nothing"};
struct FramePosition {
    int shortStrips = 0, longStrips = 0;
} position;
Part skipped = kNoPart;

bool KeepDraw(bool strip, unsigned vertices) {
    Part part;
    if (strip && vertices >= 1000)
        part = position.longStrips++ == 0 ? kFigures : kShadows;
    else if (strip)
        part = position.shortStrips++ < 2 ? kArena : kScore;
    else
        part = position.longStrips == 0 ? kFirstSprites : kShots;
    return part != skipped;
}

Timing Play(const ReplayScript& script) {
    gameState = Title;
    NewGame();
    size_t next = 0;
    const double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int frame = 1; frame <= kFrames; ++frame) {
        FeedReplayEvents(script, frame, next);
        position = FramePosition{};
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

// The game's start-up on a window of the given size; the GL layer draws into
// the window's drawable, whatever the X screen's size.
class GlWindow {
public:
    GlWindow(int width, int height) {
        appState.screenWidth = static_cast<float>(width);
        appState.screenHeight = static_cast<float>(height);
        SetGameWindowGlAttributes();
        window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, width, height, SDL_WINDOW_OPENGL);
        ok = window.sdlWindow != nullptr && CreateDeviceAndResources(&window) >= 0 && CreateBatchBuffer() >= 0;
    }
    ~GlWindow() {
        if (window.sdlWindow == nullptr) return;
        ReleaseResources();
        SDL_DestroyWindow(window.sdlWindow);
    }
    bool ok = false;

private:
    HWND__ window;
};

bool RunGl(const ReplayScript& script, int width, int height) {
    GlWindow window(width, height);
    if (window.ok) Report("OpenGL (llvmpipe)", width, height, Play(script));
    return window.ok;
}

struct Spread {
    double median, low, high;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    return Spread{median, values.front(), values.back()};
}

// Whole strips and pieces take turns (old, new, new, old, ...) so that a
// neighbour's load falls on both alike; each ratio pairs the runs of a round.
bool Compare(const ReplayScript& script, int width, int height, int rounds) {
    GlWindow window(width, height);
    if (!window.ok) return false;
    const unsigned pieces = kGlDefaultStripPieceLength;
    std::vector<double> fps[2], cpu[2], fpsRatio, cpuRatio;
    for (int round = 0; round < rounds; ++round) {
        Timing t[2];
        for (int turn = 0; turn < 2; ++turn) {
            const int way = (round + turn) % 2;  // 0 old, 1 new
            SetGlStripPieceLength(way == 0 ? 0 : pieces);
            const GlDrawCounts before = GlDrawCountsSoFar();
            t[way] = Play(script);
            const GlDrawCounts after = GlDrawCountsSoFar();
            if (round == 0)
                std::printf("  %s: %.1f GL draw calls holding %.1f draws per frame\n", way ? "pieces" : "whole ",
                            double(after.calls - before.calls) / kFrames, double(after.draws - before.draws) / kFrames);
        }
        for (int way = 0; way < 2; ++way) {
            fps[way].push_back(kFrames / t[way].wall);
            cpu[way].push_back(1000.0 * t[way].cpu / kFrames);
        }
        fpsRatio.push_back(t[0].wall / t[1].wall);
        cpuRatio.push_back(t[0].cpu / t[1].cpu);
    }
    SetGlStripPieceLength(pieces);
    const char* names[2] = {"whole strips", "pieces of"};
    for (int way = 0; way < 2; ++way) {
        const Spread f = SpreadOf(fps[way]), c = SpreadOf(cpu[way]);
        std::printf("%4dx%-4d %-12s %4u  %7.1f frames/s (%.1f..%.1f)  %7.3f ms CPU/frame (%.3f..%.3f)\n", width,
                    height, names[way], way ? pieces : 0, f.median, f.low, f.high, c.median, c.low, c.high);
    }
    const Spread f = SpreadOf(fpsRatio), c = SpreadOf(cpuRatio);
    std::printf("%4dx%-4d new/old: %.2fx frames/s (%.2f..%.2f), CPU ms/frame old/new %.2fx (%.2f..%.2f), %d rounds\n",
                width, height, f.median, f.low, f.high, c.median, c.low, c.high, rounds);
    return true;
}

// CPU time per frame for each piece length, from whole strips down.
bool Sweep(const ReplayScript& script, int width, int height) {
    GlWindow window(width, height);
    if (!window.ok) return false;
    for (unsigned pieces : {0u, 8192u, 4096u, 2048u, 1024u, 512u, 256u, 128u, 64u, 32u}) {
        SetGlStripPieceLength(pieces);
        const Timing t = Play(script);
        std::printf("%4dx%-4d pieces %5u  %7.1f frames/s  %7.3f ms CPU/frame\n", width, height, pieces,
                    kFrames / t.wall, 1000.0 * t.cpu / kFrames);
    }
    SetGlStripPieceLength(kGlDefaultStripPieceLength);
    return true;
}

// What each part of a frame costs: the CPU time saved by not drawing it.
bool Costs(const ReplayScript& script, int width, int height) {
    GlWindow window(width, height);
    if (!window.ok) return false;
    SetGlDrawFilter(KeepDraw);
    auto run = [&](const char* phase, const ReplayScript& input, Part part) {
        skipped = part;
        const Timing t = Play(input);
        std::printf("%4dx%-4d %-5s without %-22s %7.1f frames/s  %7.3f ms CPU/frame\n", width, height, phase,
                    kPartNames[part], kFrames / t.wall, 1000.0 * t.cpu / kFrames);
    };
    for (Part part : {kNoPart, kArena, kScore, kFirstSprites, kFigures, kShadows, kShots, kNoPart})
        run("play", script, part);
    const ReplayScript title;  // no input: the title screen, its picture shown every other 20 frames
    for (Part part : {kNoPart, kFirstSprites, kNoPart}) run("title", title, part);
    skipped = kNoPart;
    SetGlDrawFilter(nullptr);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QUILLFROST_FRAME_RATE", "0", 1);  // a benchmark presents unpaced
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
    const char* command = argc > 1 ? argv[1] : "";
    bool ok = true;
    if (std::strcmp(command, "compare") == 0) {
        const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
        ok = Compare(script, 320, 180, rounds) && Compare(script, 1280, 720, rounds);
    } else if (std::strcmp(command, "sweep") == 0) {
        int width = 320, height = 180;
        if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) width = 320, height = 180;
        ok = Sweep(script, width, height);
    } else if (std::strcmp(command, "costs") == 0) {
        int width = 1280, height = 720;
        if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) width = 1280, height = 720;
        ok = Costs(script, width, height);
    } else {
        ok = RunRecording(script, mode.w, mode.h) && RunGl(script, mode.w, mode.h);
    }
    if (!ok) {
        std::fprintf(stderr, "frame_bench: the device could not be set up\n");
        return 1;
    }
    SDL_Quit();
    return 0;
}
