// quillfrost-replay: runs the game's real start-up and frames on the headless
// recording device, feeding input from a script, and prints the game state.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/replay_report.h"
#include "app/replay_script.h"
#include "app/app_state.h"
#include "app/startup_failure.h"
#include "render/frame.h"
#include "render/recording_renderer.h"
#include "render/vertex_batch.h"
#include "world/new_game.h"
#include "world/sprites.h"

namespace {

const char kUsage[] =
    "usage: quillfrost-replay [--script FILE] [--every N] [--hash] [--shots] FRAME...\n"
    "       quillfrost-replay --version\n"
    "\n"
    "Runs the game from start-up without a window, on a recording device, and\n"
    "prints the state after each FRAME given (frames count from 1) and, with\n"
    "--every N, after every Nth frame. --hash adds a line 'hash F H' after every\n"
    "frame, H a hash of every creature's simulated state. State lines:\n"
    "  frame F\n"
    "  I x y z alive health opacity      (one per creature, I = 0..49)\n"
    "  S slot x y z                      (with --shots: one per active shot slot)\n"
    "  kills K shots S\n"
    "Without a script the title phase runs untouched. Script lines, one event\n"
    "each, handed to the input handling before frame F runs (F never decreases):\n"
    "  # comment\n"
    "  screen W H                 cursor mapping size, before any event (1280 720)\n"
    "  F WM_MOUSEMOVE X Y         window pixel position\n"
    "  F WM_LBUTTONDOWN | WM_LBUTTONUP | WM_RBUTTONDOWN | WM_RBUTTONUP\n"
    "  F WM_KEYDOWN KEY [repeat]  KEY: a letter, a digit, ESCAPE, SPACE or a code\n"
    "  F WM_KEYUP KEY             such as 0x57; Escape (not repeated) ends the run\n"
    "  F PAD lX lY lRx lRy [B...] a controller poll: four axes -1000..1000 and\n"
    "                             the indices of the held buttons (0..127)\n";

struct Options {
    std::string scriptPath;
    int64_t every = 0;
    bool hash = false;
    bool shots = false;
    std::set<int64_t> frames;
    int64_t lastFrame = 0;
};

bool ParseFrameNumber(const char* text, int64_t& out) {
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > kMaxReplayFrame) return false;
    out = value;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        int64_t n = 0;
        if (std::strcmp(arg, "--script") == 0 && i + 1 < argc) {
            o.scriptPath = argv[++i];
        } else if (std::strcmp(arg, "--every") == 0 && i + 1 < argc && ParseFrameNumber(argv[i + 1], n)) {
            o.every = n;
            ++i;
        } else if (std::strcmp(arg, "--hash") == 0) {
            o.hash = true;
        } else if (std::strcmp(arg, "--shots") == 0) {
            o.shots = true;
        } else if (ParseFrameNumber(arg, n)) {
            o.frames.insert(n);
        } else {
            std::fprintf(stderr, "quillfrost-replay: bad argument '%s'\n", arg);
            return false;
        }
    }
    if (!o.frames.empty()) o.lastFrame = *o.frames.rbegin();
    if (o.lastFrame == 0) std::fprintf(stderr, "quillfrost-replay: no frame to print\n");
    return o.lastFrame > 0;
}

bool LoadScript(const std::string& path, ReplayScript& script) {
    if (path.empty()) return true;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "quillfrost-replay: cannot read '%s'\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const ReplayParseResult result = ParseReplayScript(text.str(), script);
    if (!result.ok)
        std::fprintf(stderr, "quillfrost-replay: %s:%d: %s\n", path.c_str(), result.line, result.error.c_str());
    return result.ok;
}

// The game's own start-up, with the recording device standing in for the window's.
bool StartGame(const ReplayScript& script) {
    appState.screenWidth = script.screenWidth;
    appState.screenHeight = script.screenHeight;
    NewGame();
    RecordingRenderer installed;
    if (!InstallRecordingRenderer(static_cast<UINT>(script.screenWidth), static_cast<UINT>(script.screenHeight),
                                  &installed))
        return false;
    return vertexBatch.buffer != nullptr || CreateBatchBuffer() >= 0;
}

void Run(const Options& o, const ReplayScript& script) {
    size_t next = 0;
    for (int64_t frame = 1; frame <= o.lastFrame; ++frame) {
        if (!FeedReplayEvents(script, frame, next)) {
            std::printf("escape before frame %" PRId64 "\n", frame);
            return;
        }
        // Through the step table, as the game's own loop calls it: a direct call
        // lets the WebAssembly optimiser fold the whole frame into main, which
        // runs once, so V8 (without on-stack replacement for WebAssembly) would
        // keep the frame in its baseline tier for the whole run.
        gameSteps.runFrame();
        if (o.hash) std::printf("hash %" PRId64 " %016" PRIx64 "\n", frame, CreatureStateHash());
        if (o.frames.count(frame) != 0 || (o.every > 0 && frame % o.every == 0)) PrintGameState(stdout, frame, o.shots);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quillfrost-replay %s\n", QF_VERSION);
        return 0;
    }
    Options options;
    ReplayScript script;
    if (!ParseOptions(argc, argv, options) || !LoadScript(options.scriptPath, script)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!StartGame(script)) {
        std::fprintf(stderr, "quillfrost-replay: start-up failed: %s\n", StartupFailureText());
        return 1;
    }
    Run(options, script);
    ReleaseResources();
    return 0;
}
