#include <gtest/gtest.h>

#include <climits>

#include "world/player_gun.h"
#include "world/world_tables.h"
#include "world_fixture.h"

namespace {

class Gun : public WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        for (Creature& c : creatures) {
            c.position = Vec4(100.0f, 0.0f, 100.0f, 1.0f);
            c.alive = 1;
            c.health = 0.9f;
            c.body.animated = 1;
        }
    }
    // A shot that travelled from `from` by `step` in the previous frame.
    Shot& FlyingShot(Vec4 from, Vec4 step) {
        Shot& s = playerGun.NextShot();
        s.Launch(from, step);
        s.Move();
        return s;
    }
    void Place(int i, float x, float y, float z) { creatures[i].position = Vec4(x, y, z, 1.0f); }
};

TEST_F(Gun, TheRingHandsOutEverySlotInTurnAndRestartsTheOldest) {
    for (int k = 0; k < 250; ++k) {
        Shot& s = playerGun.NextShot();
        EXPECT_EQ(&s, &playerGun.shots[k % 100]);
        s.Launch(Vec4(float(k), 0.0f, 0.0f, 1.0f), Vec4(0.0f, 0.0f, 1.0f, 0.0f));
    }
    EXPECT_EQ(playerGun.nextShot, 50);
    EXPECT_EQ(playerGun.shots[7].position.x, 207.0f);  // shot 207 took slot 7
    EXPECT_EQ(playerGun.shots[60].position.x, 160.0f);
    const Shot& s = playerGun.shots[7];
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(s.colour.x, 1.0f);
    EXPECT_EQ(s.colour.y, 1.0f);
    EXPECT_EQ(s.colour.z, 0.0f);
    EXPECT_EQ(s.colour.w, 0.0f);
}

TEST_F(Gun, OnlyActiveShotsMoveAndTheyRememberWhereTheyWere) {
    Shot idle;
    idle.velocity = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
    idle.Move();
    EXPECT_EQ(idle.position.x, 0.0f);
    Shot s;
    s.Launch(Vec4(1.0f, 2.0f, 3.0f, 1.0f), Vec4(0.5f, 0.0f, -0.5f, 7.0f));
    s.Move();
    s.Move();
    EXPECT_EQ(s.previousPosition.x, 1.5f);
    EXPECT_EQ(s.position.x, 2.0f);
    EXPECT_EQ(s.position.z, 2.0f);
    EXPECT_EQ(s.position.w, 1.0f);  // w is not advanced
}

TEST_F(Gun, HitVolumeIsAnEllipticCylinderBesideTheTravelledSegment) {
    struct Case {
        float x, y, z;
        bool hit;
    };
    // Segment (0,0,0) -> (1,0,0); h^2 + (v/3)^2 < 0.5 and 0 <= t <= 1.
    const Case cases[] = {
        {0.5f, 0.0f, 0.7f, true},   {0.5f, 0.0f, 0.71f, false}, {0.5f, 2.1f, 0.0f, true},
        {0.5f, 2.13f, 0.0f, false}, {0.5f, -2.1f, 0.0f, true},  {-0.01f, 0.0f, 0.0f, false},
        {1.01f, 0.0f, 0.0f, false}, {0.0f, 0.0f, 0.5f, true},   {1.0f, 0.0f, -0.5f, true},
    };
    for (const Case& c : cases) {
        SetUp();
        Place(3, c.x, c.y, c.z);
        Shot& s = FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
        playerGun.Update(creatures, kCreatureCount);
        EXPECT_EQ(creatures[3].alive == 0, c.hit) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(s.active == 0, c.hit);
        EXPECT_EQ(killCount, c.hit ? 1 : 0);
    }
}

TEST_F(Gun, TheLowerIndexWinsAndThePlayerIsNeverHit) {
    Place(0, 0.2f, 0.0f, 0.0f);
    Place(2, 0.9f, 0.0f, 0.0f);
    Place(5, 0.1f, 0.0f, 0.0f);  // nearer to the start, but a higher index
    FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[0].alive, 1);
    EXPECT_EQ(creatures[2].alive, 0);
    EXPECT_EQ(creatures[5].alive, 1);
    EXPECT_EQ(killCount, 1);
}

TEST_F(Gun, DeadEnemiesLetShotsThroughToTheNextLivingOne) {
    Place(1, 0.5f, 0.0f, 0.0f);
    creatures[1].alive = 0;
    Shot& s = FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(s.position.x, 2.0f);  // moved on after the test
    EXPECT_EQ(killCount, 0);
    Place(4, 1.5f, 0.0f, 0.0f);
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[4].alive, 0);
    EXPECT_EQ(killCount, 1);
}

TEST_F(Gun, AKillCountsOnceAndKicksTheBodyAlongTheShot) {
    Place(1, 0.5f, 0.0f, 0.0f);
    creatures[1].health = 1.5f;  // survives one hit
    const Vec4 before = creatures[1].body.points[5].previous;
    FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[1].alive, 1);
    EXPECT_FLOAT_EQ(creatures[1].health, 0.5f);
    EXPECT_EQ(killCount, 0);
    EXPECT_EQ(creatures[1].body.points[5].previous.x, before.x);

    FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
    FlyingShot(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[1].alive, 0);
    EXPECT_EQ(killCount, 1);  // the second shot passes the dead body
    EXPECT_EQ(creatures[1].body.points[5].previous.x, before.x - 1.5f);
    EXPECT_EQ(playerGun.shots[2].active, 1);
}

TEST_F(Gun, ShotsThatDidNotMoveAreNeverTested) {
    Place(1, 0.0f, 0.0f, 0.0f);
    Shot& s = playerGun.NextShot();
    s.Launch(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    for (int frame = 0; frame < 3; ++frame) playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[1].alive, 1);
    EXPECT_EQ(s.active, 1);
    // With no enemies in the table, shots only move.
    Shot& t = FlyingShot(Vec4(100.0f, 0.0f, 99.5f, 1.0f), Vec4(0.0f, 0.0f, 1.0f, 1.0f));
    playerGun.Update(creatures, 1);
    EXPECT_EQ(t.position.z, 101.5f);
    EXPECT_EQ(creatures[0].alive, 1);
}

class Trigger : public Gun {
protected:
    void SetUp() override {
        Gun::SetUp();
        creatures[0].body.gunPointA = 8;
        creatures[0].body.gunPointB = -1;
        creatures[0].body.points[8].position = Vec4(1.0f, 2.0f, 3.0f, 1.0f);
        creatures[0].body.points[12].position = Vec4(-1.0f, 2.0f, 3.0f, 1.0f);
    }
    int Launched() const { return playerGun.nextShot; }
};

TEST_F(Trigger, AHeldTriggerFiresAtOnceThenEverySeventhFrame) {
    std::vector<int> volleys;
    fireTimer = 0.3f;  // any earlier pause leaves the timer high
    for (int frame = 1; frame <= 30; ++frame) {
        const int before = Launched();
        FireControl(0, 0, true);
        if (Launched() != before) volleys.push_back(frame);
    }
    EXPECT_EQ(volleys, (std::vector<int>{1, 8, 15, 22, 29}));
    // Zero aim axes launch motionless shots at the gun point.
    EXPECT_EQ(playerGun.shots[0].velocity.LengthSquared(), 0.0f);
    EXPECT_EQ(playerGun.shots[0].position.x, 1.0f);
}

TEST_F(Trigger, TheDeadZoneAndTheAimDirection) {
    FireControl(450, 450, false);
    EXPECT_EQ(Launched(), 0);
    EXPECT_EQ(creatures[0].body.aiming, 0);
    FireControl(-450, -450, false);
    EXPECT_EQ(Launched(), 0);

    fireTimer = 1.0f;
    FireControl(451, 0, false);
    ASSERT_EQ(Launched(), 1);
    EXPECT_EQ(playerGun.shots[0].velocity.x, 0.5f);
    EXPECT_EQ(playerGun.shots[0].velocity.z, 0.0f);
    EXPECT_EQ(creatures[0].body.aiming, 1);
    EXPECT_EQ(creatures[0].body.aimDir.x, 0.5f);

    fireTimer = 1.0f;
    FireControl(0, -451, false);
    EXPECT_EQ(playerGun.shots[1].velocity.z, 0.5f);  // up on the stick is +z
    EXPECT_EQ(playerGun.shots[1].velocity.y, 0.0f);

    fireTimer = 1.0f;
    FireControl(INT_MIN, INT_MIN, false);  // extreme axes still give a 0.5 step
    EXPECT_NEAR(playerGun.shots[2].velocity.Length(), 0.5f, 1e-6f);
}

TEST_F(Trigger, TwoHandsFireTwoShotsFromTheirPoints) {
    creatures[0].body.gunPointB = 12;
    fireTimer = 1.0f;
    FireControl(1000, 0, false);
    ASSERT_EQ(Launched(), 2);
    EXPECT_EQ(playerGun.shots[0].position.x, 1.0f);
    EXPECT_EQ(playerGun.shots[1].position.x, -1.0f);
    EXPECT_EQ(playerGun.shots[1].velocity.x, 0.5f);
}

TEST_F(Trigger, ADeadFigureNeverFiresButStillAims) {
    creatures[0].alive = 0;
    fireTimer = 5.0f;
    FireControl(1000, 0, true);
    EXPECT_EQ(Launched(), 0);
    EXPECT_EQ(creatures[0].body.aiming, 1);
    EXPECT_FLOAT_EQ(fireTimer, 5.05f);
    // Released: the default aim is 5 units against the root's z axis.
    creatures[0].body.rootTransform = Mat4::Identity();
    FireControl(0, 0, false);
    EXPECT_EQ(creatures[0].body.aiming, 0);
    EXPECT_EQ(creatures[0].body.aimDir.z, -5.0f);
}

}  // namespace
