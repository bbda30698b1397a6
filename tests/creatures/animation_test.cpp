#include <algorithm>

#include "creature_test_support.h"

namespace {

using Animation = CreatureTest;

TEST_F(Animation, StandingKeepsTheRestPoseAndWalkingMovesAndPinsTheLegs) {
    auto c = StandingAt(Vec4(5, 0.5f, -3, 1));
    CreatureBody& b = c->body;
    EXPECT_NEAR(Distance(At(b.joints[17].world), Vec4(5.12f, -0.7f, -3.102f, 0)), 0, 1e-5f);  // foot 1.2 down
    EXPECT_NEAR(Distance(At(b.joints[13].world), Vec4(4.75f, 0.45f, -3.05f, 0)), 0, 1e-5f);   // -X hand
    const Vec4 knee = At(b.joints[15].world);
    b.AnimateWalk(0.2f, 0.5f);
    ClearBatch();
    b.Update(c->position);
    EXPECT_GT(Distance(At(b.joints[15].world), knee), 0.01f);
    EXPECT_EQ(Distance(b.points[15].position, At(b.joints[15].world)), 0.0f);  // pinned
}

TEST_F(Animation, KilledWalkerFallsWithItsMotionLandsInsideTheWallsAndComesToRest) {
    for (float startX : {0.0f, 20.0f}) {  // in the open, and against the +x wall
        auto c = StandingAt(Vec4(startX, 0, 0, 1));
        for (int i = 0; i < 150; ++i) Frame(*c, Vec4(500, 0, 0, 1));
        c->alive = 0;
        c->body.points[5].previous += Vec4(0, 0, -0.5f, 0) * -1.5f;  // shot along -z
        float lowest = 0, widest = 0;
        Vec4 restingHead;
        for (int f = 0; f < 500; ++f) {
            c->deadTimer = 0;  // no respawn
            Frame(*c, Vec4(500, 0, 0, 1));
            if (f == 0) {
                EXPECT_NEAR(c->body.points[5].velocity.z, -0.75f, 0.01f) << "the kick";
                EXPECT_GT(c->body.points[0].velocity.x, 0.02f) << "the walk";
            }
            if (f == 400) restingHead = c->body.points[5].position;
            for (const MassPoint& p : c->body.points) {
                ASSERT_TRUE(IsFinite(p.position));
                lowest = std::min(lowest, p.position.y);
                widest = std::max({widest, std::fabs(p.position.x), std::fabs(p.position.z)});
            }
        }
        // Clamps act before the step: a landing point overshoots by about a frame's motion.
        EXPECT_GT(lowest, -1.21f - 0.1f);
        EXPECT_LT(widest, 24.1f);
        // At rest: the floor clamp leaves only a creep far below a frame's fall speed.
        EXPECT_LT(Distance(c->body.points[5].position, restingHead), 0.05f);
        EXPECT_LT(c->body.points[5].position.y, -0.9f);
        EXPECT_EQ(Distance(At(c->body.joints[5].world), c->body.points[5].position), 0.0f);
        // The rebuilt hip frame points its Y axis from the knee point to the hip point.
        Vec4 thigh = c->body.points[14].position - c->body.points[15].position;
        thigh.Normalize();
        EXPECT_NEAR(Distance(c->body.joints[14].world.GetColumn(1), thigh * 0.1f), 0, 1e-5f);
        EXPECT_NEAR(c->body.joints[14].world.GetColumn(0).Dot(thigh), 0, 1e-5f);
    }
}

TEST_F(Animation, ControllerButtonsMakeRagDollsAndPutHandsOnTheOppositeToes) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    inputState.controller.rgbButtons[1] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_EQ(Distance(c->body.points[9].position, At(c->body.joints[21].world)), 0);
    inputState.controller.rgbButtons[2] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_EQ(c->body.physicsActive, 1);
}

TEST_F(Animation, AimWithinThirtyDegreesUsesBothArmsElseTheSideArm) {
    // Degrees from straight ahead, then the expected gun points.
    const int cases[][3] = {{0, 9, 13},  {25, 9, 13},  {-25, 9, 13}, {35, 9, -1},
                            {90, 9, -1}, {-35, 13, -1}, {180, 13, -1}};
    for (const auto& [degrees, gunA, gunB] : cases) {
        SCOPED_TRACE(degrees);
        auto c = StandingAt(Vec4(0, 0, 0, 1));
        const Vec4 hand9 = At(c->body.joints[9].world), hand13 = At(c->body.joints[13].world);
        const Vec4 head = At(c->body.joints[5].world);
        const float a = degrees * 3.14159265f / 180.0f;
        for (int f = 0; f < 5; ++f) {
            c->body.SetAim(1, Vec4(std::sin(a), 0, -std::cos(a), 1) * 4.0f);
            Frame(*c, Vec4(0, 0, 0, 1));
        }
        EXPECT_EQ(c->body.gunPointA, gunA);
        EXPECT_EQ(c->body.gunPointB, gunB);
        const bool both = gunB == 13;
        EXPECT_EQ(Distance(c->body.points[9].position, hand9) > 0.1f, both || gunA == 9);
        EXPECT_EQ(Distance(c->body.points[13].position, hand13) > 0.1f, both || gunA == 13);
        EXPECT_EQ(Distance(c->body.points[5].position, head), 0.0f);  // the rest stays pinned
    }
}

}  // namespace
