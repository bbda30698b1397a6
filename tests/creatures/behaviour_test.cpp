#include "creature_test_support.h"

namespace {

using Behaviour = CreatureTest;
const Vec4 kStill(0, 0, 0, 1);

TEST_F(Behaviour, SteadyChaseStepsAtTheStatedSpeedAndFacesTheTarget) {
    auto c = StandingAt(Vec4(23, 0, 0, 1));
    for (int i = 0; i < 1000; ++i) {  // the command's 0.99 low-pass settles slowly
        c->Steer(Vec4(-30, 0, 0, 1), kStill, kStill);
        c->UpdateBody();
    }
    const float before = c->position.x;
    c->Steer(Vec4(-30, 0, 0, 1), kStill, kStill);
    EXPECT_NEAR(before - c->position.x, 0.02625f, 1e-5f);
    EXPECT_NEAR(c->heading, 1.5707964f, 1e-4f);
    EXPECT_NEAR(c->body.rootTransform.m[0][2], 0.1f, 1e-5f);  // Z column points backward, along +x
}

TEST_F(Behaviour, HeadingTurnsThroughTheSmallerAngleAndClampsHoldAtTheWalls) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    // From 3 toward -3 the heading goes up through pi (to 3.0566, written as -3.2265), and back.
    const float turns[][3] = {{3.0f, -3.0f, -3.2265485f}, {-3.0f, 3.0f, 3.2265485f}};
    for (const auto& t : turns) {
        c->heading = t[0];
        c->facing = Vec4(-std::sin(t[1]), 0, -std::cos(t[1]), 1);
        c->UpdateBody();
        EXPECT_NEAR(c->heading, t[2], 1e-5f);
    }
    c->position = Vec4(23.99f, 0, -23.99f, 1);
    for (int i = 0; i < 50; ++i) c->Move(Vec4(5000, 0, 5000, 1));
    EXPECT_EQ(c->position.x, 24.0f);
    EXPECT_EQ(c->position.z, -24.0f);
}

TEST_F(Behaviour, DeadFigureFadesRespawnsFromAboveFasterLandsAndFadesIn) {
    auto c = StandingAt(Vec4(2, 0, 3, 1));
    c->speedFactor = 2.45f;
    c->alive = 0;
    for (int i = 0; i < 100; ++i) Frame(*c, kStill);
    EXPECT_NEAR(c->body.opacity, 0.5f, 1e-3f);
    int frames = 100;
    for (; !c->alive && frames < 1000; ++frames) Frame(*c, kStill);
    EXPECT_NEAR(frames, 200, 1);
    EXPECT_EQ(c->speedFactor, 2.5f);
    EXPECT_EQ(c->position.y, 25.0f);
    EXPECT_EQ(c->body.physicsActive, 1);  // the body follows one frame later
    Frame(*c, kStill);
    EXPECT_EQ(c->body.physicsActive, 0);
    int fall = 1;
    for (; c->position.y > 0 && fall < 1000; ++fall) Frame(*c, kStill);
    EXPECT_NEAR(fall, 143, 2);  // 25 = 0.0025 n (n - 1) / 2
    EXPECT_EQ(c->velocity.y, 0.0f);
    EXPECT_EQ(c->onGround, 1);
    EXPECT_NEAR(c->body.opacity, 0.0025f * fall, 1e-3f);
}

TEST_F(Behaviour, SeparationPushesCloseLivingEnemiesApartOnly) {
    static Creature records[5];  // 0 is the player; 1 and 3 coincide; 4 is dead
    const float x[] = {1, 0, 3, 0, -3.8f}, push = (15.0f - 3.0f) * 0.25f, want[] = {0, -push, 2 * push, -push, 0};
    Vec4 table[5];
    for (int i = 0; i < 5; ++i) records[i].position = Vec4(x[i], 0, 0, 1);
    records[4].alive = 0;
    ComputeSeparation(table, records, 5);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(Distance(table[i], Vec4(want[i], 0, 0, 0)), 0, 1e-5f) << i;
    records[4].alive = 1;
    ComputeSeparation(table, records, 5);
    EXPECT_NEAR(table[4].x, -2 * (15.0f - 3.8f) * 0.25f, 1e-5f);  // squared 14.44 is within reach
    records[4].position.x = -3.9f;
    ComputeSeparation(table, records, 5);
    EXPECT_EQ(table[4].x, 0.0f);  // squared 15.21 is not
}

}  // namespace
