// The values the frame derives from the input record: the move request and
// mouse steering with the saved aim. (The cursor's ground point shows in the
// saved-aim digest.)
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/fnv1a.h"
#include "shell_test_support.h"
#include "support/golden_checkpoints.h"

namespace {

class InputDerivationTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputState = InputState();
        appState.screenWidth = 1280.0f;
        appState.screenHeight = 720.0f;
    }
    static Vec4 MoveWithKeys(int up, int left, int down, int right) {
        inputState.keyUp = up;
        inputState.keyLeft = left;
        inputState.keyDown = down;
        inputState.keyRight = right;
        return BuildMoveRequest();
    }
    // The aim (lRz, lZ) and steering (lX, lY) axes after steering towards point.
    static std::tuple<LONG, LONG, LONG, LONG> SteerTo(float x, float z, Vec4 player = Vec4(0.0f, 1.0f, 0.0f, 1.0f)) {
        ApplyMouseSteering(Vec4(x, 1.0f, z, 1.0f), player);
        const DIJOYSTATE2& c = inputState.controller;
        return {c.lRz, c.lZ, c.lX, c.lY};
    }
};

// The stick's share is pinned by the replay golden, whose keys are never held together.
TEST_F(InputDerivationTest, KeyVectorIsNormalisedBeforeScaling) {
    Vec4 still = MoveWithKeys(1, 0, 1, 0);
    EXPECT_EQ(std::make_pair(still.x, still.z), std::make_pair(0.0f, 0.0f));
    Vec4 diagonal = MoveWithKeys(1, 0, 0, 1);
    EXPECT_NEAR(diagonal.x, 1200.0f / std::sqrt(2.0f), 1e-3f);
    EXPECT_EQ(diagonal.z, -diagonal.x);
}

// How presses set, keep and steer by the aim is pinned by the replay golden.
TEST_F(InputDerivationTest, BeforeAnyPressTheAimIsZeroAndACursorOnThePlayerDividesByNothing) {
    inputState.controller.lRz = 77;
    EXPECT_EQ(SteerTo(3.0f, 4.0f), std::make_tuple(0, 0, 0, 0));
    inputState.leftButton = inputState.rightButton = 1;
    EXPECT_EQ(SteerTo(1.5f, -3.0f, Vec4(1.5f, 1.0f, -3.0f, 1.0f)), std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(inputState.savedAimDir.x, 0.0f);
}

// Golden: the saved aim over a grid of window positions seen from two eyes,
// the digest read after every eighth column. Only its truncation reaches the
// axes, so a reordered sum in the cursor arithmetic would otherwise change
// nothing the game state shows.
TEST_F(InputDerivationTest, SavedAimAcrossTheWindowMatchesItsGoldenDigest) {
    constexpr int kColumnStep = 23, kColumns = (1280 + kColumnStep - 1) / kColumnStep, kColumnsPerCheckpoint = 8;
    static_assert(kColumns % kColumnsPerCheckpoint == 0);
    const std::vector<uint64_t> golden = {
        0x9b75f8d074717856u, 0x8208a355d2a15c4bu, 0x64c1033a55f003aau, 0xe29737fa2756049bu, 0x5dea59ca30c027d5u,
        0xc7d599ad0beecd19u, 0x497459db08ea2658u, 0x87729f08e90bcd99u, 0xb840f4f46be58661u, 0x9b383e6dcb913d81u,
        0x7648ab07dfd7640du, 0x6964508dd00a1e4cu, 0xc7a6a69b3c5e656eu, 0xf2687df34d19dce9u};
    inputState.leftButton = 1;
    Fnv1a h;
    std::vector<uint64_t> digests;
    for (const Vec4 eye : {Vec4(0.0f, 13.0f, -4.0f, 1.0f), Vec4(-7.3f, 13.0f, 3.1f, 0.0f)}) {
        for (int column = 0, x = 0; x < 1280; ++column, x += kColumnStep) {
            for (int y = 0; y < 720; y += 17) {
                HandleInputMessage(MSG{nullptr, WM_MOUSEMOVE, 0, static_cast<LPARAM>(x | (y << 16)), 0, {}});
                ApplyMouseSteering(CursorPoint(eye), Vec4(1.3f, 0.0f, -2.7f, 1.0f));
                h.Bytes(&inputState.savedAimDir, sizeof(Vec4));
            }
            if (column % kColumnsPerCheckpoint == kColumnsPerCheckpoint - 1) digests.push_back(h.value);
        }
    }
    const auto name = [](size_t i) {
        const int perEye = kColumns / kColumnsPerCheckpoint, first = int(i) % perEye * kColumnsPerCheckpoint;
        return "eye " + std::to_string(i / perEye + 1) + ", columns x = " + std::to_string(first * kColumnStep) +
               " to " + std::to_string((first + kColumnsPerCheckpoint - 1) * kColumnStep);
    };
    EXPECT_TRUE(MatchesGoldenSequence(digests, golden, name));
}

}  // namespace
