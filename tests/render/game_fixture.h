// A game on the recording device, started as the program starts it.
#pragma once

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/input.h"
#include "render/frame.h"
#include "render/recording_renderer.h"
#include "world/new_game.h"
#include "world/player_gun.h"
#include "world/sprites.h"
#include "world/world_tables.h"

class GameFixture : public ::testing::Test {
protected:
    static inline RecordingRenderer rec;

    static void SetUpTestSuite() {
        appState.screenWidth = 1280.0f;
        appState.screenHeight = 720.0f;
        ASSERT_TRUE(InstallRecordingRenderer(1280, 720, &rec));
        ASSERT_GE(CreateBatchBuffer(), 0);
    }
    static void TearDownTestSuite() { ReleaseResources(); }
    // A fresh title screen with released input.
    void SetUp() override {
        inputState = InputState{};
        gameState = Title;
        killCount = 0;
        mouseAim = 1;
        titleBlink = fireTimer = 0.0f;
        playerGun = PlayerGun{};
        for (Creature& c : creatures) c.velocity = c.steerCommand = Vec4();
        NewGame();
    }
};
