#include "creature_test_support.h"

namespace {

using CreatureBehaviour = CreatureTest;

const Vec4 kStill(0, 0, 0, 1);

TEST_F(CreatureBehaviour, SteadyChaseStepsTowardTheTargetAndTurnsToFaceIt) {
    // The command's 0.99 low-pass needs many hundred frames to settle.
    auto c = StandingAt(Vec4(23, 0, 0, 1));
    const Vec4 target(-30, 0, 0, 1);
    for (int i = 0; i < 1000; ++i) {
        c->Steer(target, kStill, kStill);
        c->UpdateBody();
    }
    const float before = c->position.x;
    c->Steer(target, kStill, kStill);
    EXPECT_NEAR(before - c->position.x, 0.02625f, 1e-5f);
    EXPECT_NEAR(c->position.z, 0.0f, 1e-6f);
    ExpectNear(c->moveDir, -1, 0, 0);
    ExpectNear(c->facing, -1, 0, 0);
    EXPECT_EQ(c->onGround, 1);
    // Facing -x, the heading settles at atan2(1, 0) and the root's Z column
    // points backward, along +x.
    EXPECT_NEAR(c->heading, 1.5707964f, 1e-4f);
    EXPECT_NEAR(c->body.rootTransform.GetColumn(2).x, 0.1f, 1e-5f);
}

TEST_F(CreatureBehaviour, SmallRequestsLeaveTheFigureStandingAndItsSpeedDecays) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    for (int i = 0; i < 20; ++i) c->Move(Vec4(0, 0, -500, 1));
    ExpectNear(c->facing, 0, 0, 1);
    const float speed = c->speed;
    const Vec4 where = c->position;
    c->Move(Vec4(300, 0, 100, 1));  // squared 0.001 is still standing
    EXPECT_FLOAT_EQ(c->speed, speed * 0.9f);
    EXPECT_EQ(c->position.x, where.x);
    EXPECT_EQ(c->position.z, where.z);
    ExpectNear(c->moveDir, 0, 0, 0);
    EXPECT_EQ(c->moveDir.w, 1.0f);
    ExpectNear(c->facing, 0, 0, 1);
}

TEST_F(CreatureBehaviour, HeadingTurnsThroughTheSmallerAngle) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    const struct {
        float from, to;
    } turns[] = {{3.0f, -3.0f}, {-3.0f, 3.0f}, {0.5f, 1.5f}};
    for (const auto& t : turns) {
        c->heading = t.from;
        c->facing = Vec4(-std::sin(t.to), 0, -std::cos(t.to), 1);
        ClearBatch();
        c->UpdateBody();
        // Compare as angles: the step is a fifth of the short way round.
        double shortWay = std::remainder(static_cast<double>(t.to) - t.from, 2 * M_PI);
        EXPECT_NEAR(std::remainder(c->heading - (t.from + shortWay * 0.2), 2 * M_PI), 0.0, 1e-5) << t.from;
        EXPECT_NEAR(c->body.headingTransform.m[0][2], std::sin(c->heading), 1e-6f);
    }
    // Repeated turns settle on the target without winding up.
    c->heading = 3.0f;
    for (int i = 0; i < 200; ++i) {
        ClearBatch();
        c->UpdateBody();
    }
    EXPECT_NEAR(c->heading, 1.5f, 1e-4f);
}

TEST_F(CreatureBehaviour, ArenaClampsAfterTheStepAndTheFall) {
    auto c = StandingAt(Vec4(23.99f, 0, -23.99f, 1));
    for (int i = 0; i < 50; ++i) c->Move(Vec4(5000, 0, 5000, 1));  // toward +x, -z
    EXPECT_EQ(c->position.x, 24.0f);
    EXPECT_EQ(c->position.z, -24.0f);
    c->Move(Vec4(0, 0, 0, 1));  // stands at the bound; stays exactly there
    EXPECT_EQ(c->position.x, 24.0f);
    EXPECT_EQ(c->position.z, -24.0f);
}

TEST_F(CreatureBehaviour, DeathFadeRespawnFallLandingAndFadeIn) {
    auto c = StandingAt(Vec4(2, 0, 3, 1));
    c->alive = 0;
    int frames = 0;
    while (!c->alive && frames < 1000) {
        Frame(*c, Vec4(0, 0, 0, 1));
        ++frames;
        if (!c->alive) {
            EXPECT_FLOAT_EQ(c->body.opacity, 1.0f - c->deadTimer * 0.05f);
        }
        if (frames == 100) {
            EXPECT_NEAR(c->body.opacity, 0.5f, 1e-3f);
        }
    }
    EXPECT_NEAR(frames, 200, 1);  // 0.1 per frame, until the sum passes 20
    EXPECT_EQ(c->deadTimer, 0.0f);
    EXPECT_NEAR(c->speedFactor, 1.1f, 1e-6f);
    EXPECT_EQ(c->position.y, 25.0f);  // the move's gravity waits for the next frame
    EXPECT_EQ(c->position.x, 2.0f);
    EXPECT_EQ(c->onGround, 0);
    EXPECT_LT(c->body.opacity, 0.0f);  // the batch clamps it; fading in starts from there
    const float startOpacity = c->body.opacity;
    int fall = 0;
    float lastSpeed = c->velocity.y;
    while (c->position.y > 0 && fall < 1000) {
        Frame(*c, Vec4(0, 0, 0, 1));
        ++fall;
        if (c->position.y > 0) {
            EXPECT_NEAR(c->velocity.y - lastSpeed, -0.0025f, 1e-6f);
            lastSpeed = c->velocity.y;
        }
    }
    // y = 25 - 0.0025 * n (n - 1) / 2 reaches 0 after about 142 frames.
    EXPECT_NEAR(fall, 143, 2);
    EXPECT_EQ(c->position.y, 0.0f);
    EXPECT_EQ(c->velocity.y, 0.0f);
    EXPECT_EQ(c->onGround, 1);
    EXPECT_NEAR(c->body.opacity, startOpacity + 0.0025f * fall, 1e-4f);
    for (int i = 0; i < 500; ++i) c->Move(Vec4(0, 0, 0, 1));
    EXPECT_EQ(c->body.opacity, 1.0f);
}

TEST_F(CreatureBehaviour, EachRespawnIsFasterUpToTwoAndAHalf) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    const float expected[] = {2.5f, 2.5f};
    c->speedFactor = 2.45f;
    for (float want : expected) {
        c->alive = 0;
        c->deadTimer = 20.0f;
        c->Move(Vec4(0, 0, 0, 1));
        EXPECT_EQ(c->alive, 1);
        EXPECT_EQ(c->speedFactor, want);
    }
    // The factor scales the request: the same command walks further.
    auto slow = StandingAt(Vec4(0, 0, -20, 1));
    c->position = Vec4(0, 0, -20, 1);
    for (int i = 0; i < 100; ++i) {
        c->Move(Vec4(0, 0, -500, 1));
        slow->Move(Vec4(0, 0, -500, 1));
    }
    const float fastStep = c->position.z, slowStep = slow->position.z;
    c->Move(Vec4(0, 0, -500, 1));
    slow->Move(Vec4(0, 0, -500, 1));
    EXPECT_NEAR((c->position.z - fastStep) / (slow->position.z - slowStep), 6.25f, 1e-3f);
}

TEST_F(CreatureBehaviour, LeadingEnemiesAimAheadOfThePlayerAlongItsMotion) {
    auto plain = StandingAt(Vec4(0, 0, 10, 1));
    auto leader = StandingAt(Vec4(0, 0, 10, 1));
    leader->leadTarget = 1;
    const Vec4 target(0, 0, 0, 1), moving(1, 0, 0, 1);
    plain->Steer(target, moving, kStill);
    leader->Steer(target, moving, kStill);
    // One blend step from rest: 1% of the mapped command.
    ExpectNear(plain->steerCommand, 0, 0, 5.0f);
    Vec4 toward(100, 0, -10, 0);
    toward.Normalize();
    ExpectNear(leader->steerCommand, 5.0f * toward.x, 0, -5.0f * toward.z);
    EXPECT_EQ(leader->steerCommand.w, 1.0f);
}

TEST_F(CreatureBehaviour, SeparationPushesCloseLivingEnemiesApart) {
    static Creature records[5];
    Vec4 table[5];
    const float x[] = {1, 0, 3, 0, 10};
    for (int i = 0; i < 5; ++i) {
        records[i].position = Vec4(x[i], 0, 0, 1);
        records[i].alive = 1;
    }
    records[3].position = Vec4(0, 0, 0, 1);  // on top of record 1
    ComputeSeparation(table, records, 5);
    // 1 and 3 coincide and cancel; 2 is 3 away from both (squared 9 < 15).
    const float push = (15.0f - 3.0f) * 0.25f;
    ExpectNear(table[1], -push, 0, 0);
    ExpectNear(table[3], -push, 0, 0);
    ExpectNear(table[2], 2 * push, 0, 0);
    ExpectNear(table[4], 0, 0, 0);  // squared 49 is out of reach
    ExpectNear(table[0], 0, 0, 0);  // the player's figure neither pushes nor is pushed
    EXPECT_EQ(table[0].w, 0.0f);

    records[2].alive = 0;
    records[4].position = Vec4(3.8f, 0, 0, 1);  // squared 14.44: just within reach of records 1 and 3
    ComputeSeparation(table, records, 5);
    ExpectNear(table[2], 0, 0, 0);
    ExpectNear(table[4], 2 * (15.0f - 3.8f) * 0.25f, 0, 0);
    records[4].position = Vec4(3.9f, 0, 0, 1);  // squared 15.21: out of reach
    ComputeSeparation(table, records, 5);
    ExpectNear(table[4], 0, 0, 0);
}

}  // namespace
