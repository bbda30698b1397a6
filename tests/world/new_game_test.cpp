#include <gtest/gtest.h>

#include <cmath>

#include "world/game_random.h"
#include "world/new_game.h"
#include "world/score_display.h"
#include "world/world_tables.h"
#include "world_fixture.h"

namespace {

using Phases = WorldFixture;

TEST_F(Phases, NewGamePlacesEveryEnemyOnTheOuterRingAndThePlayerAtTheCentre) {
    for (int d = 0; d < 10; ++d) digitSegments[d] = 0;
    creatures[0].highlight = 0;
    creatures[9].highlight = 1;
    NewGame();
    for (int d = 0; d < 10; ++d) EXPECT_EQ(digitSegments[d], kDigitMasks[d]);
    EXPECT_EQ(creatures[0].position.x, 0.0f);
    EXPECT_EQ(creatures[0].position.y, 0.0f);
    EXPECT_EQ(creatures[0].position.z, 0.0f);
    EXPECT_EQ(creatures[0].highlight, 1);
    int leading = 0;
    for (int i = 1; i < kCreatureCount; ++i) {
        const Creature& c = creatures[i];
        const float distance = std::sqrt(c.position.x * c.position.x + c.position.z * c.position.z);
        EXPECT_GE(distance, 19.9999f) << i;
        EXPECT_LE(distance, 35.3554f) << i;
        EXPECT_EQ(c.position.y, 0.0f);
        EXPECT_EQ(c.position.w, 1.0f);
        EXPECT_GE(c.steerGain, 1.0f);
        EXPECT_LE(c.steerGain, 2.0f);
        EXPECT_EQ(c.highlight, 0);
        EXPECT_EQ(c.alive, 1);
        EXPECT_FLOAT_EQ(c.health, 0.9f);
        leading += c.leadTarget;
    }
    // About half lead their target; all or none would mean a broken draw.
    EXPECT_GT(leading, 10);
    EXPECT_LT(leading, 39);
}

TEST_F(Phases, NewGameDrawsSevenValuesPerFigureInAFixedOrder) {
    const uint32_t start = game::RandState();
    NewGame();
    const uint32_t after = game::RandState();
    game::SetRandState(start);
    int draws[7 * kCreatureCount];
    for (int& d : draws) d = game::rand();
    EXPECT_EQ(game::RandState(), after);

    // Figure i: three colour draws, then z, x, gain and lead.
    for (int i = 1; i < kCreatureCount; ++i) {
        const int* r = draws + 7 * i;
        Vec4 expected(static_cast<float>(r[4]) * 0.0015259255f - 25.0f, 0.0f,
                      static_cast<float>(r[3]) * 0.0015259255f - 25.0f, 1.0f);
        if (expected.LengthSquared() < 400.0f) {
            expected.Normalize();
            expected *= 20.0f;
        }
        EXPECT_EQ(creatures[i].position.x, expected.x) << i;
        EXPECT_EQ(creatures[i].position.z, expected.z) << i;
        EXPECT_EQ(creatures[i].steerGain, 1.0f + static_cast<float>(r[5]) / 32767.0f) << i;
        EXPECT_EQ(creatures[i].leadTarget, static_cast<float>(r[6]) / 32767.0f > 0.5f ? 1 : 0) << i;
    }
}

TEST_F(Phases, TheTitleHoldsThePlayerAloftAndClearsTheCount) {
    NewGame();
    creatures[0].position = Vec4(3.0f, 1.0f, -2.0f, 1.0f);
    creatures[0].velocity.y = -0.4f;
    killCount = 12;
    GameStateStep();
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(creatures[0].position.x, 0.0f);
    EXPECT_EQ(creatures[0].position.y, 20.0f);
    EXPECT_EQ(creatures[0].velocity.y, 0.0f);
    EXPECT_EQ(killCount, 0);
}

TEST_F(Phases, EitherButtonStartsAGameAndChoosesTheAimMode) {
    struct Case {
        int mouse, pad;
        uint8_t aim;
    };
    for (const Case& c : {Case{1, 0, 1}, Case{0, 1, 0}, Case{1, 1, 1}}) {
        SetUp();
        mouseAim = c.aim ? 0 : 1;
        inputState.leftButton = c.mouse;
        inputState.controller.rgbButtons[0] = c.pad ? 0x80 : 0;
        GameStateStep();
        EXPECT_EQ(gameState, Playing);
        EXPECT_EQ(mouseAim, c.aim);
        EXPECT_EQ(creatures[0].position.y, 0.0f);  // the new game put it down
    }
    // Other buttons do not start a game.
    SetUp();
    inputState.rightButton = 1;
    inputState.controller.rgbButtons[3] = 0x80;
    GameStateStep();
    EXPECT_EQ(gameState, Title);
}

TEST_F(Phases, TheGameEndsOnlyAfterTheDeadFigureHasLainLongEnough) {
    NewGame();
    gameState = Playing;
    killCount = 7;
    creatures[0].alive = 0;
    creatures[0].deadTimer = 19.0f;
    GameStateStep();
    EXPECT_EQ(gameState, Playing);
    creatures[0].alive = 1;
    creatures[0].deadTimer = 25.0f;
    GameStateStep();
    EXPECT_EQ(gameState, Playing);

    creatures[0].alive = 0;
    creatures[0].deadTimer = 19.1f;
    creatures[0].position = Vec4(5.0f, 0.0f, 5.0f, 1.0f);
    GameStateStep();
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(creatures[0].alive, 1);  // revived by the reset
    EXPECT_EQ(creatures[0].position.x, 0.0f);
    EXPECT_EQ(killCount, 7);  // still shown until the first title step
    GameStateStep();
    EXPECT_EQ(killCount, 0);
}

TEST_F(Phases, OnlyALivingEnemyCloseInAllThreeAxesKillsThePlayer) {
    NewGame();
    creatures[0].position = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    creatures[4].position = Vec4(0.1f, 0.0f, 0.1f, 1.0f);
    creatures[4].alive = 0;
    creatures[6].position = Vec4(0.0f, 0.75f, 0.0f, 1.0f);  // above: 0.5625 away squared
    CheckPlayerContact();
    EXPECT_EQ(creatures[0].alive, 1);

    creatures[6].position = Vec4(0.5f, 0.0f, 0.49f, 1.0f);  // 0.4901
    CheckPlayerContact();
    EXPECT_EQ(creatures[0].alive, 0);
}

}  // namespace
