#include <gtest/gtest.h>

#include <climits>
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
        Body().gunPointA = 8;
        Body().gunPointB = -1;
        Body().points[8].position = Vec4(1.0f, 2.0f, 3.0f, 1.0f);
        Body().points[12].position = Vec4(-1.0f, 2.0f, 3.0f, 1.0f);
    }
    static CreatureBody& Body() { return creatures[0].body; }
    // A shot that travelled (0,0,0) -> (1,0,0) in the previous frame.
    static Shot& ShotAlongX() {
        Shot& s = playerGun.NextShot();
        s.Launch(Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(1.0f, 0.0f, 0.0f, 1.0f));
        s.Move();
        return s;
    }
    static void Place(int i, float x, float y, float z) { creatures[i].position = Vec4(x, y, z, 1.0f); }
};

TEST_F(Gun, TheRingRestartsTheOldestSlot) {
    for (int k = 0; k < 250; ++k) {
        EXPECT_EQ(&playerGun.shots[k % 100], &playerGun.shots[playerGun.nextShot]);
        playerGun.NextShot().Launch(Vec4(float(k), 0.0f, 0.0f, 1.0f), Vec4(0.0f, 0.0f, 1.0f, 0.0f));
    }
    EXPECT_EQ(playerGun.nextShot, 50);
    EXPECT_EQ(playerGun.shots[7].position.x, 207.0f);
    EXPECT_EQ(playerGun.shots[60].position.x, 160.0f);
    EXPECT_EQ(PackColour(playerGun.shots[7].colour), 0x00FFFF00u);  // yellow
}

TEST_F(Gun, TheHitVolumeIsAnEllipticCylinderBesideTheSegment) {
    struct Case {
        float x, y, z;
        bool hit;
    } cases[] = {{0.5f, 0.0f, 0.7f, true},   {0.5f, 0.0f, 0.71f, false}, {0.5f, 2.1f, 0.0f, true},
                 {0.5f, -2.13f, 0.0f, false}, {0.0f, 0.0f, 0.5f, true},   {1.0f, 0.0f, -0.5f, true},
                 {-0.01f, 0.0f, 0.0f, false}, {1.01f, 0.0f, 0.0f, false}};
    for (const Case& c : cases) {
        SetUp();
        Place(3, c.x, c.y, c.z);
        Shot& s = ShotAlongX();
        playerGun.Update(creatures, kCreatureCount);
        EXPECT_EQ(creatures[3].alive == 0 && s.active == 0 && killCount == 1, c.hit) << c.x << ' ' << c.y << ' ' << c.z;
        EXPECT_EQ(s.position.x, c.hit ? 1.0f : 2.0f);  // a spent shot stays put
    }
}

TEST_F(Gun, LowerIndexWinsDeadBodiesLetShotsThroughAndEachDeathCountsOnce) {
    Place(0, 0.2f, 0.0f, 0.0f);  // the player is never tested
    Place(1, 0.3f, 0.0f, 0.0f);
    creatures[1].alive = 0;
    Place(2, 0.9f, 0.0f, 0.0f);
    creatures[2].health = 1.5f;  // survives one hit
    Place(5, 0.1f, 0.0f, 0.0f);  // nearer the start, but a higher index
    const float kickedX = creatures[2].body.points[5].previous.x;
    ShotAlongX();
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[2].alive, 1);
    EXPECT_FLOAT_EQ(creatures[2].health, 0.5f);
    EXPECT_EQ(killCount, 0);
    ShotAlongX();
    Shot& third = ShotAlongX();
    playerGun.Update(creatures, kCreatureCount);
    EXPECT_EQ(creatures[2].alive, 0);
    EXPECT_EQ(creatures[2].body.points[5].previous.x, kickedX - 1.5f);  // pushed along the flight
    EXPECT_EQ(creatures[5].alive, 0);                                    // the third shot's victim
    EXPECT_EQ(third.active, 0);
    EXPECT_EQ(creatures[0].alive, 1);
    EXPECT_EQ(killCount, 2);
}

TEST_F(Gun, MotionlessShotsAndATableWithoutEnemiesAreNeverTested) {
    Place(1, 1.0f, 2.0f, 3.0f);
    Shot& still = playerGun.NextShot();
    still.Launch(creatures[1].position, Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    playerGun.Update(creatures, kCreatureCount);
    Place(1, 0.5f, 0.0f, 0.0f);
    ShotAlongX();
    playerGun.Update(creatures, 1);
    EXPECT_EQ(creatures[1].alive, 1);
    EXPECT_EQ(still.active, 1);
    EXPECT_EQ(playerGun.shots[1].position.x, 2.0f);
}

TEST_F(Gun, AHeldTriggerFiresAtOnceThenEverySeventhFrame) {
    std::vector<int> volleys;
    fireTimer = 0.3f;
    for (int frame = 1; frame <= 30; ++frame) {
        const int before = playerGun.nextShot;
        FireControl(0, 0, true);
        if (playerGun.nextShot != before) volleys.push_back(frame);
    }
    EXPECT_EQ(volleys, (std::vector<int>{1, 8, 15, 22, 29}));
    EXPECT_EQ(playerGun.shots[0].velocity.LengthSquared(), 0.0f);  // zero axes: a motionless shot
    EXPECT_EQ(playerGun.shots[0].position.x, 1.0f);
}

TEST_F(Gun, TheDeadZoneAimAndHands) {
    FireControl(450, -450, false);
    EXPECT_EQ(playerGun.nextShot, 0);
    EXPECT_EQ(Body().aiming, 0);
    struct Case {
        int x, y;
        float vx, vz;
    } cases[] = {{451, 0, 0.5f, 0.0f}, {0, -451, 0.0f, 0.5f}, {INT_MIN, 0, -0.5f, 0.0f}};
    for (const Case& c : cases) {
        fireTimer = 1.0f;
        const int slot = playerGun.nextShot;
        FireControl(c.x, c.y, false);
        EXPECT_EQ(playerGun.nextShot, slot + 1);
        EXPECT_EQ(playerGun.shots[slot].velocity.x, c.vx);
        EXPECT_EQ(playerGun.shots[slot].velocity.z, c.vz);
        EXPECT_EQ(Body().aiming, 1);
        EXPECT_EQ(Body().aimDir.x, c.vx);
    }
    Body().gunPointB = 12;
    fireTimer = 1.0f;
    FireControl(1000, 0, false);
    EXPECT_EQ(playerGun.nextShot, 5);
    EXPECT_EQ(playerGun.shots[4].position.x, -1.0f);
}

TEST_F(Gun, ADeadFigureNeverFiresButStillAims) {
    creatures[0].alive = 0;
    fireTimer = 5.0f;
    FireControl(1000, 0, true);
    EXPECT_EQ(playerGun.nextShot, 0);
    EXPECT_EQ(Body().aiming, 1);
    Body().rootTransform = Mat4::Identity();
    FireControl(0, 0, false);
    EXPECT_EQ(Body().aiming, 0);
    EXPECT_EQ(Body().aimDir.z, -5.0f);  // released: 5 units against the root's z axis
}

}  // namespace
