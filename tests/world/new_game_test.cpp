#include <gtest/gtest.h>

#include <tuple>

#include "world/new_game.h"
#include "world_fixture.h"

namespace {

using Phases = WorldFixture;

TEST_F(Phases, TheTitleHoldsThePlayerAloftUntilEitherButtonStartsAGame) {
    const int cases[][3] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 0}, {1, 1, 1}};  // mouse, pad, aim
    for (const auto& [mouse, pad, aim] : cases) {
        TearDown();  // a fresh world for each case
        SetUp();
        mouseAim = !aim;
        killCount = 12;
        creatures[0].position = Vec4(3.0f, 1.0f, -2.0f, 1.0f);
        creatures[0].velocity.y = -0.4f;
        inputState.leftButton = mouse;
        inputState.controller.rgbButtons[0] = pad ? 0x80 : 0;
        inputState.controller.rgbButtons[3] = 0x80;  // other buttons start nothing
        GameStateStep();
        const bool starts = mouse || pad;
        EXPECT_EQ(gameState, starts ? Playing : Title);
        EXPECT_EQ(creatures[0].position.y, starts ? 0.0f : 20.0f);  // a new game puts it down
        EXPECT_EQ(std::make_tuple(creatures[0].position.x, creatures[0].velocity.y, killCount), std::make_tuple(0.0f, 0.0f, 0));
        EXPECT_EQ(mouseAim, starts ? aim : !aim);
    }
}

// The return to the title and the catch by a living enemy are pinned by the
// replay golden; no enemy lies dead beside the player there.
TEST_F(Phases, OnlyALivingEnemyCatchesThePlayer) {
    NewGame();
    gameState = Playing;
    creatures[4].position = Vec4(0.1f, 0.0f, 0.1f, 1.0f);
    creatures[4].alive = 0;
    CheckPlayerContact();
    EXPECT_EQ(creatures[0].alive, 1);
}

}  // namespace
