// The values the frame derives from the input record: the move request, the
// cursor and its ground point, and mouse steering with the saved aim.
#include <cmath>

#include "shell_test_support.h"

namespace {

class InputDerivationTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputState = InputState();
        appState.screenWidth = 1280.0f;
        appState.screenHeight = 720.0f;
    }
};

Vec4 MoveWithKeys(int up, int left, int down, int right) {
    inputState.keyUp = up;
    inputState.keyLeft = left;
    inputState.keyDown = down;
    inputState.keyRight = right;
    return BuildMoveRequest();
}

TEST_F(InputDerivationTest, KeyVectorIsNormalisedBeforeScaling) {
    Vec4 still = MoveWithKeys(1, 0, 1, 0);
    EXPECT_EQ(still.x, 0.0f);
    EXPECT_EQ(still.z, 0.0f);

    Vec4 back = MoveWithKeys(0, 0, 1, 0);
    EXPECT_EQ(back.x, 0.0f);
    EXPECT_EQ(back.z, 1200.0f);

    Vec4 diagonal = MoveWithKeys(1, 0, 0, 1);
    EXPECT_GT(diagonal.x, 0.0f);
    EXPECT_EQ(diagonal.x, -diagonal.z);
    EXPECT_NEAR(std::sqrt(diagonal.x * diagonal.x + diagonal.z * diagonal.z), 1200.0f, 1e-3f);
    EXPECT_EQ(diagonal.y, 0.0f);
}

TEST_F(InputDerivationTest, FullStickDeflectionMatchesAKeyAndAddsToIt) {
    inputState.controller.lX = 1000;
    Vec4 stick = MoveWithKeys(0, 0, 0, 0);
    EXPECT_EQ(stick.x, 1200.0f);

    inputState.controller.lX = -500;
    inputState.controller.lY = 250;
    Vec4 both = MoveWithKeys(0, 0, 1, 0);
    EXPECT_EQ(both.x, -600.0f);
    EXPECT_EQ(both.z, 300.0f + 1200.0f);
    EXPECT_EQ(both.w, 1.0f);
}

TEST_F(InputDerivationTest, CursorMapsScreenEdgesToPlusMinusOneAndSignedPositions) {
    auto move = [](int x, int y) { HandleInputMessage(MSG{nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, {}}); };
    move(0, 0);
    EXPECT_EQ(inputState.cursorX, -1.0f);
    EXPECT_EQ(inputState.cursorY, 1.0f);
    move(1280, 720);
    EXPECT_EQ(inputState.cursorX, 1.0f);
    EXPECT_EQ(inputState.cursorY, -1.0f);
    move(640, 180);
    EXPECT_EQ(inputState.cursorX, 0.0f);
    EXPECT_EQ(inputState.cursorY, 0.5f);
    move(-10, -720);
    EXPECT_EQ(inputState.cursorX, -1.015625f);
    EXPECT_EQ(inputState.cursorY, 3.0f);
}

TEST_F(InputDerivationTest, CursorPointLiesOnTheGroundPlaneAtHeightOne) {
    inputState.cursorX = 0.5f;
    inputState.cursorY = -0.5f;
    Vec4 point = CursorPoint(Vec4(3.0f, 40.0f, -2.0f, 1.0f));
    EXPECT_EQ(point.x, 8.0f);
    EXPECT_EQ(point.y, 1.0f);
    EXPECT_EQ(point.z, -2.0f);
    EXPECT_EQ(point.w, 1.0f);
    inputState.cursorY = 1.0f;
    EXPECT_EQ(CursorPoint(Vec4(0.0f, 0.0f, 0.0f, 1.0f)).z, 22.5f);
}

TEST_F(InputDerivationTest, LeftButtonSetsAndSavesTheAimTruncatedTowardZero) {
    Vec4 player(0.0f, 1.0f, 0.0f, 1.0f);
    // Before any press the saved aim is zero, so the aim axes trigger nothing.
    inputState.controller.lRz = 77;
    ApplyMouseSteering(Vec4(3.0f, 1.0f, 4.0f, 1.0f), player);
    EXPECT_EQ(inputState.controller.lRz, 0);
    EXPECT_EQ(inputState.controller.lZ, 0);

    inputState.leftButton = 1;
    ApplyMouseSteering(Vec4(3.0f, 1.0f, 4.0f, 1.0f), player);
    EXPECT_EQ(inputState.controller.lRz, 600);
    EXPECT_EQ(inputState.controller.lZ, -800);

    // -447.2 and 894.4: truncation, not flooring or rounding.
    ApplyMouseSteering(Vec4(-1.0f, 1.0f, -2.0f, 1.0f), player);
    EXPECT_EQ(inputState.controller.lRz, -447);
    EXPECT_EQ(inputState.controller.lZ, 894);

    // Released: the last aim stays wherever the cursor goes; the right
    // button steers, and its last request stays too.
    inputState.leftButton = 0;
    inputState.rightButton = 1;
    ApplyMouseSteering(Vec4(0.0f, 1.0f, -8.0f, 1.0f), player);
    EXPECT_EQ(inputState.controller.lRz, -447);
    EXPECT_EQ(inputState.controller.lZ, 894);
    EXPECT_EQ(inputState.controller.lX, 0);
    EXPECT_EQ(inputState.controller.lY, 1000);
    inputState.rightButton = 0;
    ApplyMouseSteering(Vec4(9.0f, 1.0f, 0.0f, 1.0f), player);
    EXPECT_EQ(inputState.controller.lY, 1000);
}

TEST_F(InputDerivationTest, CursorOnThePlayerGivesZeroAxes) {
    inputState.leftButton = 1;
    inputState.rightButton = 1;
    inputState.controller.lX = 5;
    Vec4 player(1.5f, 1.0f, -3.0f, 1.0f);
    ApplyMouseSteering(player, player);
    EXPECT_EQ(inputState.controller.lRz, 0);
    EXPECT_EQ(inputState.controller.lZ, 0);
    EXPECT_EQ(inputState.controller.lX, 0);
    EXPECT_EQ(inputState.controller.lY, 0);
    EXPECT_EQ(inputState.savedAimDir.x, 0.0f);
}

}  // namespace
