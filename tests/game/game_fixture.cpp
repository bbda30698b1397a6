#include "game_fixture.h"

#include "app/app_state.h"
#include "render/frame.h"
#include "world/new_game.h"
#include "world/player_gun.h"
#include "world/sprites.h"

RecordingRenderer GameFixture::rec;

void GameFixture::SetUpTestSuite() {
    appState.screenWidth = 1280.0f;
    appState.screenHeight = 720.0f;
    ASSERT_TRUE(InstallRecordingRenderer(1280, 720, &rec));
    ASSERT_GE(CreateBatchBuffer(), 0);
}

void GameFixture::SetUp() {
    inputState = InputState{};
    gameState = Title;
    killCount = 0;
    mouseAim = 1;
    titleBlink = fireTimer = 0.0f;
    playerGun = PlayerGun{};
    for (Creature& c : creatures) c.velocity = c.steerCommand = Vec4();
    NewGame();
}
