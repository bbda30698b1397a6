#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "world/game_random.h"
#include "world/new_game.h"
#include "world_fixture.h"

namespace {

using Phases = WorldFixture;

// Which draw becomes which value is left to whole-game replays; here, the rules the values obey.
TEST_F(Phases, NewGameDrawsSevenValuesPerFigureAndPlacesEnemiesOnTheOuterRing) {
    const uint32_t start = game::RandState();
    NewGame();
    const uint32_t after = game::RandState();
    game::SetRandState(start);
    for (int i = 0; i < 7 * kCreatureCount; ++i) game::rand();
    EXPECT_EQ(game::RandState(), after);
    EXPECT_EQ(creatures[0].position.LengthSquared(), 0.0f);
    EXPECT_EQ(creatures[0].highlight, 1);
    int leaders = 0;
    for (int i = 1; i < kCreatureCount; ++i) {
        const Vec4& p = creatures[i].position;
        EXPECT_GE(p.x * p.x + p.z * p.z, 399.99f) << i;  // at least 20 from the player
        EXPECT_LE(std::max(std::fabs(p.x), std::fabs(p.z)), 25.0f) << i;
        EXPECT_EQ(std::make_tuple(p.y, int(creatures[i].highlight)), std::make_tuple(0.0f, 0)) << i;
        EXPECT_TRUE(creatures[i].steerGain >= 1.0f && creatures[i].steerGain <= 2.0f) << creatures[i].steerGain;
        leaders += creatures[i].leadTarget;
    }
    EXPECT_TRUE(leaders > 0 && leaders < kCreatureCount - 1) << leaders;  // about half lead
}

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

TEST_F(Phases, TheGameEndsAfterTheDeadTimerPasses19AndOnlyALivingEnemyKills) {
    NewGame();
    gameState = Playing;
    const std::tuple<uint8_t, float, GameState> steps[] = {{0, 19.0f, Playing}, {1, 25.0f, Playing}, {0, 19.1f, Title}};
    for (const auto& [alive, timer, after] : steps) {
        creatures[0].alive = alive;
        creatures[0].deadTimer = timer;
        GameStateStep();
        EXPECT_EQ(gameState, after);
    }

    creatures[4].position = Vec4(0.1f, 0.0f, 0.1f, 1.0f);
    creatures[4].alive = 0;
    creatures[6].position = Vec4(0.0f, 0.75f, 0.0f, 1.0f);  // 0.5625 away squared
    CheckPlayerContact();
    EXPECT_EQ(creatures[0].alive, 1);
    creatures[6].position = Vec4(0.5f, 0.0f, 0.49f, 1.0f);  // 0.4901
    CheckPlayerContact();
    EXPECT_EQ(creatures[0].alive, 0);
}

}  // namespace
