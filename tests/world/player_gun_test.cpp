#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "world_fixture.h"

namespace {

class Gun : public WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        for (Creature& c : creatures) {
            c.position = Vec4(100.0f, 0.0f, 100.0f, 1.0f);
            c.alive = c.body.animated = 1;
            c.health = 0.9f;
        }
        body.gunPointA = CreatureBody::kWristPlusX;
        body.gunPointB = CreatureBody::kNoGunPoint;
        body.points[CreatureBody::kWristPlusX].position = Vec4(1.0f, 2.0f, 3.0f, 1.0f);
        body.points[CreatureBody::kWristMinusX].position = Vec4(-1.0f, 2.0f, 3.0f, 1.0f);
    }
    CreatureBody& body = creatures[0].body;
    // A shot that travelled (0,0,0) -> (1,0,0) in the previous frame.
    static Shot& ShotAlongX() {
        Shot& s = playerGun.NextShot();
        s.Launch(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
        s.Move();
        return s;
    }
    static void Place(int i, float x, float y, float z) { creatures[i].position = Vec4(x, y, z, 1.0f); }
};

TEST_F(Gun, LowerIndexWinsDeadBodiesLetShotsThroughAndEachDeathCountsOnce) {
    Place(0, 0.2f, 0.0f, 0.0f);  // the player is never tested
    Place(1, 0.3f, 0.0f, 0.0f);
    creatures[1].alive = 0;
    Place(2, 0.9f, 0.0f, 0.0f);
    creatures[2].health = 1.5f;  // survives one hit
    Place(5, 0.1f, 0.0f, 0.0f);  // nearer the start, but a higher index
    const float kickedX = creatures[2].body.points[CreatureBody::kHead].previous.x;
    ShotAlongX();
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_FLOAT_EQ(creatures[2].health, 0.5f);
    EXPECT_EQ(creatures[5].alive, 1);
    ShotAlongX();
    ShotAlongX();
    Shot& still = playerGun.NextShot();  // never tested: it did not move
    still.Launch(creatures[5].position, Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[2].body.points[CreatureBody::kHead].previous.x, kickedX - 1.5f);  // pushed along the flight
    EXPECT_EQ(creatures[5].alive, 0);                                    // the third shot's victim
    EXPECT_EQ(std::make_pair(int(creatures[0].alive), int(still.active)), std::make_pair(1, 1));
    EXPECT_EQ(killCount, 2);
    for (int k = 4; k < 207; ++k) playerGun.NextShot();  // the ring wraps to the oldest slot
    EXPECT_EQ(playerGun.nextShot, 7);
}

// Aiming, both hands, a dead figure and the released aim are pinned by the
// replay golden; the dead zone's edge and the most negative axis are not.
TEST_F(Gun, TheDeadZoneEdgeAndTheMostNegativeAxis) {
    FireControl(450, -450, false);
    EXPECT_EQ(std::make_pair(playerGun.nextShot, int(body.aiming)), std::make_pair(0, 0));
    const std::tuple<int, int, float, float> cases[] = {
        {451, 0, 0.5f, 0.0f}, {0, -451, 0.0f, 0.5f}, {INT_MIN, 0, -0.5f, 0.0f}};
    for (const auto& [x, y, vx, vz] : cases) {
        fireTimer = 1.0f;
        FireControl(x, y, false);
        const Shot& s = playerGun.shots[playerGun.nextShot - 1];
        EXPECT_EQ(s.velocity.x, vx) << x << ' ' << y;
        EXPECT_EQ(s.velocity.z, vz) << x << ' ' << y;
        EXPECT_EQ(body.aiming, 1);
    }
}

// The hit test's decision as stated, one rounding per operation.
bool ReferenceHit(Vec4 from, Vec4 to, Vec4 enemy) {
    const Vec4 seg = to - from;
    const float len = std::sqrt(seg.x * seg.x + seg.y * seg.y + seg.z * seg.z);
    if (len < 0.001f) return false;
    const Vec4 dir = seg * (1.0f / len), rel = enemy - from;
    const float t = rel.x * dir.x + rel.y * dir.y + rel.z * dir.z;
    if (t < 0.0f || t > len) return false;
    Vec4 off = rel - dir * t;
    off.y *= 0.33333334f;
    return off.x * off.x + off.y * off.y + off.z * off.z < 0.5f;
}

// Enemies within a few units in the last place of the edge of the hit volume
// (its side and its ends): any other order of the operations decides some differently.
TEST_F(Gun, HitsOnTheEdgeAreDecidedExactlyAsStated) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f), along(0.0f, 1.0f);
    int hits = 0;
    constexpr int kSamples = 3000;
    for (int n = 0; n < kSamples; ++n) {
        Vec4 dir(unit(random), 0.2f * unit(random), unit(random), 0.0f), side(unit(random), unit(random), unit(random), 0);
        dir.Normalize();
        side -= dir * side.Dot(dir);  // across the flight
        side.Normalize();
        const float len = 0.1f + along(random), s = n % 4 == 0 ? len : n % 4 == 1 ? 0.0f : len * along(random);
        // The side distance at which the squashed offset's square is 0.5.
        const double edge = std::sqrt(0.5 / (side.x * side.x + side.y * side.y / 9.0 + side.z * side.z));
        const float k = static_cast<float>(edge * (1.0 + 4e-7 * unit(random))) * (n % 4 < 2 ? 0.5f : 1.0f);
        const Vec4 from(20.0f * unit(random), 1.0f + unit(random), 20.0f * unit(random), 1.0f);
        const Vec4 to = from + dir * len, enemy = from + dir * (s * (1.0f + 4e-7f * unit(random))) + side * k;
        Shot& shot = playerGun.shots[0];
        shot.previousPosition = from;
        shot.position = to;
        shot.active = 1;
        creatures[1].position = enemy;
        creatures[1].health = 0.9f;
        creatures[1].alive = 1;
        playerGun.Update(creatures, 2);
        const bool hit = creatures[1].health != 0.9f;
        ASSERT_EQ(hit, ReferenceHit(from, to, enemy)) << n;
        hits += hit;
    }
    EXPECT_GT(hits, kSamples / 5);
    EXPECT_LT(hits, kSamples * 4 / 5);
}

}  // namespace
