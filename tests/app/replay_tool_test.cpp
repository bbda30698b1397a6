#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    int Lines() const { return static_cast<int>(std::count(out.begin(), out.end(), '\n')); }
};

Outcome Replay(const std::string& arguments, const char* script = nullptr) {
    std::string command = std::string(QF_BINARY_DIR) + "/quillfrost-replay " + arguments;
    if (script != nullptr) {
        const std::string path = std::string(QF_BINARY_DIR) + "/replay_tool_test_script.txt";
        std::ofstream(path) << script;
        command += " --script " + path;
    }
    Outcome r;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return r;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) r.out.append(chunk, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(ReplayTool, AScriptedGameReplaysBitForBit) {
    const char* game =
        "5 WM_MOUSEMOVE 900 200\n5 WM_LBUTTONDOWN\n30 WM_KEYDOWN W\n60 WM_KEYUP W\n"
        "60 WM_KEYDOWN D\n90 WM_KEYUP D\n120 WM_MOUSEMOVE 200 400\n200 WM_LBUTTONUP\n200 WM_RBUTTONDOWN\n";
    const Outcome first = Replay("--hash --every 100 400", game), second = Replay("--hash --every 100 400", game);
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(first.Lines(), 400 + 4 * 52);
    // By frame 100 the player walked up (W, +z) and right (D, +x) and shot an
    // enemy; by 200 it was caught, and by 400 it hangs over the title again.
    float x, y, z;
    int kills;
    const char* at100 = first.out.c_str() + first.out.find("frame 100\n");
    ASSERT_EQ(std::sscanf(at100, "frame 100\n0 %f %f %f", &x, &y, &z), 3);
    EXPECT_GT(x, 0.5f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_GT(z, 0.5f);
    ASSERT_EQ(std::sscanf(std::strstr(at100, "kills"), "kills %d", &kills), 1);
    EXPECT_GE(kills, 1);
    int alive = 1;
    const char* at200 = first.out.c_str() + first.out.find("frame 200\n");
    ASSERT_EQ(std::sscanf(at200, "frame 200\n0 %f %f %f %d", &x, &y, &z, &alive), 4);
    EXPECT_EQ(alive, 0);
    const char* at400 = first.out.c_str() + first.out.find("frame 400\n");
    ASSERT_EQ(std::sscanf(at400, "frame 400\n0 %f %f %f", &x, &y, &z), 3);
    EXPECT_EQ(y, 20.0f);
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
    EXPECT_EQ(escape.Lines(), 2 * 52 + 1);
    EXPECT_NE(escape.out.find("frame 40\n0 0 20 0 1 0.899999976 1\n"), std::string::npos) << escape.out;
    EXPECT_TRUE(escape.out.ends_with("kills 0 shots 0\nescape before frame 41\n")) << escape.out;
}

}  // namespace
