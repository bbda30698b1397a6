#include "creatures/creature.h"

#include "math/float_trig.h"
#include "math/mass_point.h"

namespace {
constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.28318531f;
constexpr float kRespawnHeight = 25.0f;
constexpr float kMaxSpeedFactor = 2.5f;

float ClampToArena(float v) {
    if (v <= -kArenaLimit) return -kArenaLimit;
    if (v >= kArenaLimit) return kArenaLimit;
    return v;
}
}  // namespace

Creature::Creature()
    : facing(0.0f, 0.0f, 0.0f, 1.0f),
      moveDir(0.0f, 0.0f, 0.0f, 1.0f),
      position(0.0f, 0.0f, 0.0f, 1.0f),
      velocity(0.0f, 0.0f, 0.0f, 1.0f) {
    steerCommand = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    deadTimer = 0.0f;
    steerGain = 1.0f;
    speedFactor = 1.0f;
    alive = 1;
    health = 0.9f;
}

void Creature::ResetForNewGame() {
    body.Build();
    alive = 1;
    health = 0.9f;
    deadTimer = 0.0f;
    steerGain = 1.0f;
    speedFactor = 1.0f;
}

void Creature::Move(Vec4 request) {
    body.animated = alive;
    request *= speedFactor;
    Vec4 v(request.x * 0.0001f, 0.0f, request.z * -0.0001f, 1.0f);
    if (v.LengthSquared() < 0.001f) v = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    StepLifeCycle();
    speed += (v.Length() - speed) * 0.1f;
    walkPhase += 0.25f * speed;
    body.AnimateWalk(walkPhase, speed * 8.0f);
    // The stride grows with the square of the smoothed speed.
    if (v.LengthSquared() > 0.00001f) {
        v.Normalize();
        v *= speed * speed * 10.5f;
        position += v;
        v.Normalize();
        facing = v;
    }
    moveDir = v;
    position.y += velocity.y;
    position.x = ClampToArena(position.x);
    position.z = ClampToArena(position.z);
    if (position.y <= 0.0f) {
        onGround = 1;
        position.y = 0.0f;
        if (velocity.y < 0.0f) velocity.y = 0.0f;
    } else {
        onGround = 0;
    }
    if (position.y > 0.0f) velocity.y -= kGravity;
}

// Dead figures fade out and drop back in from above, a little faster each time.
void Creature::StepLifeCycle() {
    if (!alive) {
        deadTimer += 0.1f;
        body.opacity = 1.0f - deadTimer * 0.05f;
    } else if (body.opacity < 1.0f) {
        body.opacity += 0.0025f;
    } else {
        body.opacity = 1.0f;
    }
    if (deadTimer > 20.0f) {
        alive = 1;
        position.y = kRespawnHeight;
        deadTimer = 0.0f;
        speedFactor += 0.1f;
        if (speedFactor > kMaxSpeedFactor) speedFactor = kMaxSpeedFactor;
    }
}

void Creature::Steer(const Vec4& target, const Vec4& targetMoveDir, const Vec4& separation) {
    Vec4 t = target;
    if (leadTarget != 0) t += targetMoveDir * 100.0f;
    t -= position;
    t.Normalize();
    t += separation;
    t *= steerGain * -500.0f;
    t.x = -t.x;
    steerCommand = t + (steerCommand - t) * 0.99f;  // w comes from the target
    Move(steerCommand);
}

void Creature::UpdateBody() {
    TurnToFacing();
    body.Update(position, moveDir, highlight != 0);
}

void Creature::BeginBodyUpdate() {
    TurnToFacing();
    body.BeginUpdate();
}

void Creature::FinishBodyUpdate() { body.FinishUpdate(position, moveDir, highlight != 0); }

void SteerAndUpdateEnemies(Creature* records, int count, const Vec4* separation) {
    const Creature& player = records[0];
    CreatureBody* group[MassPoint::kMaxTogether];
    int grouped = 0;
    int finished = 1;  // the records below this have been drawn
    for (int i = 1; i < count; ++i) {
        records[i].Steer(player.position, player.moveDir, separation[i]);
        records[i].BeginBodyUpdate();
        if (records[i].body.physicsActive) group[grouped++] = &records[i].body;
        if (grouped == MassPoint::kMaxTogether || i == count - 1) {
            CreatureBody::SolveLinksTogether(group, grouped);
            grouped = 0;
            for (; finished <= i; ++finished) records[finished].FinishBodyUpdate();
        }
    }
}

void Creature::TurnToFacing() {
    const float target = Atan2F(-facing.x, -facing.z);
    // Turn through the smaller angle.
    float h = heading;
    if (h - target > kPi) h -= kTwoPi;
    if (h - target < -kPi) h += kTwoPi;
    heading = h + (target - h) * 0.2f;
    body.headingTransform = Mat4::Identity();
    body.headingTransform.SetRotationY(heading);
}
