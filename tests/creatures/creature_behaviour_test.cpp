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

}  // namespace
