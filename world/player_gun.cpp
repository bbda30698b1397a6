#include "world/player_gun.h"

#include <cstdlib>

#include "creatures/creature.h"
#include "render/draw_modes.h"
#include "render/vertex_batch.h"
#include "world/sprites.h"
#include "world/world_tables.h"

PlayerGun playerGun;
float fireTimer = 0.0f;

namespace {

const float kVerticalSquash = 0.33333334f;
const float kHitRadiusSquared = 0.5f;
const float kKnockback = -1.5f;
const float kShotHalfSize = 0.8f;

// Tests one shot's travelled segment against the enemies; returns true when
// the shot is used up by a hit.
bool HitTest(const Shot& shot, Creature* records, int32_t count, Creature*& victim) {
    Vec4 seg = shot.position - shot.previousPosition;
    float len = seg.Length();
    if (len < 0.001f) return false;
    Vec4 dir = seg * (1.0f / len);
    for (int32_t i = 1; i < count; ++i) {
        Vec4 rel = records[i].position - shot.previousPosition;
        float t = rel.Dot(dir);
        if (t < 0.0f || t > len) continue;
        Vec4 off = rel - dir * t;
        off.y *= kVerticalSquash;
        if (off.LengthSquared() < kHitRadiusSquared && records[i].alive) {
            victim = &records[i];
            return true;
        }
    }
    return false;
}

void ApplyHit(Shot& shot, Creature& victim) {
    victim.health -= 1.0f;
    shot.active = 0;
    if (victim.health > 0.0f) return;
    victim.alive = 0;
    ++killCount;
    // Moving the previous position gives the point a push at its next Verlet step.
    Vec4& previous = victim.body.points[CreatureBody::kHead].previous;
    previous += shot.velocity * kKnockback;
}

// Widened so that the most negative axis value has a magnitude too.
bool BeyondDeadZone(int32_t axis) { return std::llabs(static_cast<long long>(axis)) > kAimDeadZone; }

void Launch(int32_t pointIndex, const Vec4& velocity) {
    const CreatureBody& body = creatures[0].body;
    if (pointIndex < 0 || pointIndex >= CreatureBody::kPointCount) return;
    playerGun.NextShot().Launch(body.points[pointIndex].position, velocity);
}

}  // namespace

void Shot::Launch(Vec4 origin, Vec4 shotVelocity) {
    position = origin;
    previousPosition = origin;
    velocity = shotVelocity;
    active = 1;
    colour = Vec4(1.0f, 1.0f, 0.0f, 0.0f);
}

void Shot::Move() {
    if (!active) return;
    previousPosition = position;
    position += velocity;
}

Shot& PlayerGun::NextShot() {
    Shot& shot = shots[nextShot];
    nextShot = (nextShot + 1) % kSlotCount;
    return shot;
}

void PlayerGun::Update(Creature* records, int32_t count) {
    if (count > 1) {
        for (Shot& shot : shots) {
            Creature* victim = nullptr;
            if (shot.active && HitTest(shot, records, count, victim)) ApplyHit(shot, *victim);
        }
    }
    for (Shot& shot : shots) shot.Move();
}

void PlayerGun::Draw() {
    vertexBatch.Reset();
    for (const Shot& shot : shots)
        if (shot.active) AddSprite(shot.position, shot.colour, kShotHalfSize);
    DrawSprites(SpriteTexture::Particle);
}

void FireControl(int32_t aimX, int32_t aimY, bool trigger) {
    fireTimer += 0.05f;
    Creature& player = creatures[0];
    Vec4 aimDir = player.body.rootTransform.GetColumn(2) * -5.0f;
    const bool triggered = trigger || BeyondDeadZone(aimX) || BeyondDeadZone(aimY);
    if (!triggered) {
        player.body.SetAim(0, aimDir);
        return;
    }
    aimDir = Vec4(static_cast<float>(aimX), 0.0f, -static_cast<float>(aimY), 1.0f);
    aimDir.Normalize();
    aimDir *= kShotSpeed;
    if (fireTimer > 0.3f && player.alive) {
        fireTimer = 0.0f;
        Launch(player.body.gunPointA, aimDir);
        if (player.body.gunPointB != CreatureBody::kNoGunPoint) Launch(player.body.gunPointB, aimDir);
    }
    player.body.SetAim(1, aimDir);
}
