#include "world/new_game.h"

#include "app/input.h"
#include "world/game_random.h"
#include "world/score_display.h"
#include "world/world_tables.h"

namespace {

// 50 / 32767 as the game has always rounded it.
const float kPlaceScale = 0.0015259255f;
const float kMinStartDistanceSquared = 400.0f;
const float kMinStartDistance = 20.0f;
const float kTitleHeight = 20.0f;
const float kContactDistanceSquared = 0.5f;
const float kReturnToTitleTime = 19.0f;

// Seven draws per creature, in this order: colour (three), z, x, gain, lead.
void PlaceCreature(Creature& c) {
    c.ResetForNewGame();
    const int r1 = game::Rand();
    const int r2 = game::Rand();
    c.position = Vec4(static_cast<float>(r2) * kPlaceScale - 25.0f, 0.0f,
                      static_cast<float>(r1) * kPlaceScale - 25.0f, 1.0f);
    if (c.position.LengthSquared() < kMinStartDistanceSquared) {
        c.position.Normalize();
        c.position *= kMinStartDistance;
    }
    c.steerGain = 1.0f + game::UnitRand();
    c.leadTarget = game::UnitRand() > 0.5f ? 1 : 0;
    c.highlight = 0;
}

void StepTitle() {
    Creature& player = creatures[0];
    player.position = Vec4(0.0f, kTitleHeight, 0.0f, 1.0f);
    player.velocity.y = 0.0f;
    killCount = 0;
    const bool padStart = inputState.controller.rgbButtons[0] != 0;
    const bool mouseStart = inputState.leftButton != 0;
    if (!padStart && !mouseStart) return;
    mouseAim = mouseStart ? 1 : 0;
    gameState = Playing;
    NewGame();
}

void StepPlaying() {
    const Creature& player = creatures[0];
    if (player.alive == 0 && player.deadTimer > kReturnToTitleTime) {
        NewGame();
        gameState = Title;
    }
}

}  // namespace

void NewGame() {
    for (int d = 0; d < 10; ++d) digitSegments[d] = kDigitMasks[d];
    for (Creature& c : creatures) PlaceCreature(c);
    creatures[0].position = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    creatures[0].highlight = 1;
}

void GameStateStep() {
    if (gameState == Title)
        StepTitle();
    else
        StepPlaying();
}

void CheckPlayerContact() {
    Creature& player = creatures[0];
    for (int i = 1; i < kCreatureCount; ++i) {
        const Creature& enemy = creatures[i];
        if (!enemy.alive) continue;
        if ((player.position - enemy.position).LengthSquared() < kContactDistanceSquared) {
            player.alive = 0;
            return;
        }
    }
}
