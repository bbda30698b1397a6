#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/golden_checkpoints.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    int Lines() const { return static_cast<int>(std::count(out.begin(), out.end(), '\n')); }
};

Outcome Replay(const std::string& arguments, const char* script = nullptr) {
    std::string command = std::string(QF_BINARY_DIR) + "/quillfrost-replay " + arguments;
    // One file per process: ctest runs this file's tests side by side.
    const std::string path =
        std::string(QF_BINARY_DIR) + "/replay_tool_test_script." + std::to_string(getpid()) + ".txt";
    if (script != nullptr) {
        std::ofstream(path) << script;
        command += " --script " + path;
    }
    Outcome r;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe != nullptr) {
        char chunk[4096];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) r.out.append(chunk, n);
        const int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (script != nullptr) std::remove(path.c_str());
    return r;
}

// The line that starts with `start` (a creature's index, "kills", "S 38")
// in the printed state of frame F.
std::string StateLine(const std::string& out, int frame, const std::string& start) {
    const size_t at = out.find("frame " + std::to_string(frame) + "\n");
    const size_t line = at == std::string::npos ? at : out.find("\n" + start + " ", at);
    return line == std::string::npos ? "" : out.substr(line + 1, out.find('\n', line + 1) - line - 1);
}

// Two games. The first, aimed with the mouse, walks up and right and shoots
// four; the player is caught at frame 129, the first enemy shot drops back in
// at 260 and the title returns at 320. The second, started, walked and aimed
// with the controller, shoots two before the player is caught at 423.
const char kTwoGames[] =
    "5 WM_MOUSEMOVE 900 200\n5 WM_LBUTTONDOWN\n30 WM_KEYDOWN W\n60 WM_KEYUP W\n60 WM_KEYDOWN D\n90 WM_KEYUP D\n"
    "120 WM_MOUSEMOVE 200 400\n200 WM_LBUTTONUP\n200 WM_RBUTTONDOWN\n300 WM_RBUTTONUP\n"
    "330 PAD 0 0 0 0 0\n332 PAD 700 700 700 -500\n";

// Golden values recorded from the build they pin: a change in the order of
// any float operation of the simulation changes them.
TEST(ReplayTool, TwoScriptedGamesReplayToTheirGoldenHashesAndShots) {
    const Outcome run = Replay("--hash --shots --every 20 440", kTwoGames);
    ASSERT_EQ(run.status, 0);
    // What the hashes pass through: kills, both deaths, a drop-in, the title.
    EXPECT_EQ(StateLine(run.out, 100, "kills"), "kills 1 shots 21");
    EXPECT_EQ(StateLine(run.out, 200, "0"), "0 4.42523575 0 2.57353616 0 0.899999976 0.645000219");
    EXPECT_EQ(StateLine(run.out, 260, "2"), "2 2.18042874 25 18.8025723 1 -0.100000024 -2.02655792e-06");
    EXPECT_EQ(StateLine(run.out, 320, "0"), "0 0 0 0 1 0.899999976 1");
    EXPECT_EQ(StateLine(run.out, 400, "kills"), "kills 2 shots 33");
    EXPECT_EQ(StateLine(run.out, 440, "0"), "0 9.98172379 0 -9.98172379 0 0.899999976 0.909999967");
    const int hashFrames[] = {100, 200, 260, 320, 380, 423, 440};
    const std::vector<uint64_t> golden = {0xa55d437e1816c221u, 0x750169acb7d22810u, 0x2a59be60dab2df99u,
                                          0x8dc2b76c0ed488bfu, 0x8ea94c28ae62abb2u, 0xbfa01d718ad5cb9du,
                                          0xee1e14ae27356a43u};
    std::vector<uint64_t> hashes;
    for (const int frame : hashFrames) {
        const size_t at = run.out.find("hash " + std::to_string(frame) + " ");
        if (at == std::string::npos) break;
        hashes.push_back(std::strtoull(run.out.c_str() + at + 6 + std::to_string(frame).size(), nullptr, 16));
    }
    EXPECT_TRUE(MatchesGoldenSequence(hashes, golden, [&](size_t i) { return "frame " + std::to_string(hashFrames[i]); }));
    // The first shot, aimed with the mouse, and the last, with the stick.
    EXPECT_EQ(StateLine(run.out, 100, "S 0"), "S 0 17.543211 2.474576 44.2516022");
    EXPECT_EQ(StateLine(run.out, 400, "S 38"), "S 38 7.89206409 1.0181427 -3.81300235");
    // Every printed state lists its active shots in slot order, as many as
    // counted in the line after them.
    int previous = -1, printed = 0, counted = 0, slot, shots;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (std::sscanf(line.c_str(), "S %d", &slot) == 1) {
            EXPECT_GT(slot, previous) << line;
            previous = slot;
            ++printed;
        } else if (std::sscanf(line.c_str(), "kills %*d shots %d", &shots) == 1) {
            EXPECT_EQ(printed, counted + shots) << line;
            counted = printed;
            previous = -1;
        }
    }
    EXPECT_EQ(run.Lines(), 440 + 22 * 52 + printed);
}

TEST(ReplayTool, BadInputStopsBeforeAnyFrameAndEscapeEndsTheRun) {
    EXPECT_EQ(Replay("").status, 2);
    EXPECT_EQ(Replay("0").status, 2);
    EXPECT_EQ(Replay("--script /nonexistent/quillfrost 5").status, 2);
    const Outcome bad = Replay("5", "3 WM_LBUTTONDOWN\n2 WM_LBUTTONUP\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty());
    // Without input the title runs untouched until Escape, and nothing after it runs.
    const Outcome escape = Replay("1 40 45", "41 WM_KEYDOWN ESCAPE\n");
    EXPECT_EQ(escape.status, 0);
    EXPECT_EQ(Replay("--shots 1 40 45", "41 WM_KEYDOWN ESCAPE\n").out, escape.out);  // nothing fired
    EXPECT_EQ(escape.Lines(), 2 * 52 + 1);
    EXPECT_NE(escape.out.find("frame 40\n0 0 20 0 1 0.899999976 1\n"), std::string::npos) << escape.out;
    EXPECT_TRUE(escape.out.ends_with("kills 0 shots 0\nescape before frame 41\n")) << escape.out;
}

// The version the packages carry, alone on its line; beside anything else
// --version is a bad argument, not a silent run.
TEST(ReplayTool, VersionPrintsTheProjectVersionOnlyWhenAlone) {
    const Outcome version = Replay("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("quillfrost-replay ") + QF_VERSION + "\n");
    const Outcome mixed = Replay("--version 5");
    EXPECT_EQ(mixed.status, 2);
    EXPECT_TRUE(mixed.out.empty()) << mixed.out;
}

}  // namespace
