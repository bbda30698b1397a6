// One figure of the arena: the player's (record 0) or an enemy. Locomotion,
// steering, the life cycle of death, fade, respawn and fade-in, and heading;
// and the separation pass that keeps living enemies apart.
#pragma once

#include <cstdint>

#include "creatures/creature_body.h"
#include "math/vec4.h"

struct Creature {
    float speed = 0.0f;
    float heading = 0.0f;
    Vec4 facing;
    Vec4 moveDir;
    Vec4 position;
    Vec4 velocity;  // only y is used: the vertical speed
    float walkPhase = 0.0f;
    CreatureBody body;
    uint8_t highlight = 0;
    uint8_t onGround = 0;
    uint8_t alive = 1;
    float steerGain = 1.0f;
    Vec4 steerCommand;
    float health = 0.9f;
    float deadTimer = 0.0f;
    float speedFactor = 1.0f;
    int32_t leadTarget = 0;

    Creature();
    Creature(const Creature&) = delete;
    Creature& operator=(const Creature&) = delete;

    void ResetForNewGame();
    void Move(Vec4 request);
    void Steer(const Vec4& target, const Vec4& targetMoveDir, const Vec4& separation);
    void UpdateBody();
    // UpdateBody in two halves around the body's link solving.
    void BeginBodyUpdate();
    void FinishBodyUpdate();

private:
    void StepLifeCycle();
    void TurnToFacing();
};

// Steers each enemy (records 1 to count - 1) toward the player (record 0) and
// updates its body, in record order. An enemy's body reaches nothing of
// another's, so the rag dolls' link solving runs for several at once between
// the two halves of their updates, with the same bits as one at a time.
void SteerAndUpdateEnemies(Creature* records, int count, const Vec4* separation);

void ComputeSeparation(Vec4* table, Creature* records, int count);
