// The player's gun: a ring of 100 shot slots reused blindly, the per-frame
// trigger and rate step, the hit test against the enemies and shot drawing.
#pragma once

#include <cstdint>

#include "math/vec4.h"

struct Creature;

struct Shot {
    Vec4 position = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    Vec4 previousPosition = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    Vec4 velocity = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    uint8_t active = 0;
    Vec4 colour = Vec4(0.0f, 0.0f, 0.0f, 1.0f);

    void Launch(Vec4 origin, Vec4 shotVelocity);
    void Move();
};

struct PlayerGun {
    static constexpr int32_t kSlotCount = 100;

    Shot shots[kSlotCount];
    int32_t nextShot = 0;

    Shot& NextShot();
    void Update(Creature* records, int32_t count);
    void Draw();
};

inline constexpr int32_t kAimDeadZone = 450;
inline constexpr float kShotSpeed = 0.5f;

extern PlayerGun playerGun;
extern float fireTimer;

// aimX, aimY: the controller's lRz and lZ; trigger: its button 3.
void FireControl(int32_t aimX, int32_t aimY, bool trigger);
