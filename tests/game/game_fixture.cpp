#include "game_fixture.h"

#include <cmath>

#include "app/app_state.h"
#include "render/camera.h"
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

void GameFixture::Send(UINT message, LPARAM lParam) {
    MSG m = {};
    m.message = message;
    m.lParam = lParam;
    HandleInputMessage(m);
}

void GameFixture::PointMouseAt(int target) {
    const Vec4 p = creatures[0].position;
    Vec4 d = creatures[target].position - p;
    d.y = 0.0f;
    d.Normalize();
    // The cursor's ground point inverted around this frame's eye.
    const float cursorX = (p.x + 5.0f * d.x - cameraEye.x) / 10.0f;
    const float cursorY = (p.z + 5.0f * d.z - cameraEye.z) / 15.0f - 0.5f;
    const long px = std::lround((cursorX + 1.0f) / 2.0f * appState.screenWidth);
    const long py = std::lround((1.0f - cursorY) / 2.0f * appState.screenHeight);
    Send(WM_MOUSEMOVE, MAKELPARAM(static_cast<WORD>(px), static_cast<WORD>(py)));
}

int GameFixture::NearestLivingEnemy() {
    int best = 0;
    float bestDistance = 1e30f;
    for (int i = 1; i < kCreatureCount; ++i) {
        const float d = (creatures[i].position - creatures[0].position).LengthSquared();
        if (creatures[i].alive && d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}
