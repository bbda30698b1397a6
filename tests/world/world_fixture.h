// The recording renderer and a small batch buffer (from the shared fixture),
// with the game's globals back at their start values around each test.
#pragma once

#include "app/input.h"
#include "support/recording_batch_fixture.h"
#include "world/player_gun.h"
#include "world/world_tables.h"

class WorldFixture : public RecordingBatchTest {
protected:
    void SetUp() override {
        RecordingBatchTest::SetUp();
        inputState = InputState{};
        killCount = 0;
        gameState = Title;
        mouseAim = 1;
        fireTimer = 0.0f;
        playerGun = PlayerGun{};
    }
};
