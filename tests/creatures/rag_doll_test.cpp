#include <algorithm>

#include "creature_test_support.h"

namespace {

class RagDoll : public CreatureTest {
protected:
    // A figure that walked along +x for a while and was then shot dead.
    std::unique_ptr<Creature> KilledWhileWalking(float startX) {
        auto c = StandingAt(Vec4(startX, 0, 0, 1));
        for (int i = 0; i < 150; ++i) Frame(*c, kWalkPlusX);
        c->alive = 0;
        return c;
    }
    // Keeps the figure dead: the respawn would otherwise snap it back after 200 frames.
    void DeadFrame(Creature& c) {
        c.deadTimer = 0.0f;
        Frame(c, kWalkPlusX);
    }
    const Vec4 kWalkPlusX = Vec4(500, 0, 0, 1);
};

struct Extent {
    float lowest = 1e9f, highest = -1e9f, widest = 0, fastest = 0;
    bool finite = true;
};

Extent Measure(const CreatureBody& b) {
    Extent e;
    for (const MassPoint& p : b.points) {
        e.finite = e.finite && IsFinite(p.position);
        e.lowest = std::min(e.lowest, p.position.y);
        e.highest = std::max(e.highest, p.position.y);
        e.widest = std::max({e.widest, std::fabs(p.position.x), std::fabs(p.position.z)});
        e.fastest = std::max(e.fastest, (p.position - p.previous).Length());
    }
    return e;
}

Vec4 Centre(const CreatureBody& b) {
    Vec4 sum(0, 0, 0, 0);
    for (const MassPoint& p : b.points) sum += p.position;
    return sum * (1.0f / CreatureBody::kPointCount);
}

TEST_F(RagDoll, KilledWalkerCollapsesOntoTheFloorInsideTheWallsAndComesToRest) {
    for (float startX : {0.0f, 20.0f}) {  // in the open, and falling against the +x wall
        SCOPED_TRACE(startX);
        auto c = KilledWhileWalking(startX);
        const float headBefore = c->body.points[5].position.y;
        float lowest = 1e9f, widest = 0, fastest = 0;
        Vec4 settled;
        for (int f = 0; f < 500; ++f) {
            DeadFrame(*c);
            const Extent e = Measure(c->body);
            ASSERT_TRUE(e.finite) << f;
            lowest = std::min(lowest, e.lowest);
            widest = std::max(widest, e.widest);
            fastest = std::max(fastest, e.fastest);
            if (f == 400) settled = Centre(c->body);
        }
        // The floor and wall clamps act before the step, so points overshoot
        // them by up to a frame's motion plus the constraint corrections.
        EXPECT_GT(lowest, -1.21f - 0.1f);
        EXPECT_LT(widest, 24.0f + 0.1f);
        EXPECT_LT(fastest, 0.2f);
        const Extent rest = Measure(c->body);
        EXPECT_LT(rest.fastest, 0.005f);  // the floor's gravity flicker of 0.0025 and little else
        EXPECT_LT((Centre(c->body) - settled).Length(), 0.01f);
        EXPECT_LT(rest.highest, -0.6f);  // lying down, well below standing height
        EXPECT_GT(headBefore, 0.0f);
        EXPECT_EQ(c->body.physicsActive, 1);
        // The rebuilt skeleton follows the points.
        const Vec4 head = c->body.points[5].position;
        ExpectNear(c->body.joints[5].world.GetColumn(3), head.x, head.y, head.z, 0);
    }
}

TEST_F(RagDoll, FallsWithTheMotionItHadAndTheKickOnTheHead) {
    auto plain = KilledWhileWalking(0.0f);
    auto kicked = KilledWhileWalking(0.0f);
    // The walker was moving along +x when it died; its points keep that motion.
    DeadFrame(*plain);
    EXPECT_GT(plain->body.points[0].velocity.x, 0.02f);
    // A shot along -z moving 0.5 per frame kicks the head by 1.5 times that.
    kicked->body.points[5].previous += Vec4(0, 0, -0.5f, 0) * -1.5f;
    DeadFrame(*kicked);
    EXPECT_NEAR(kicked->body.points[5].velocity.z - plain->body.points[5].velocity.z, -0.75f * 0.9999f, 1e-4f);
    for (int f = 0; f < 60; ++f) {
        DeadFrame(*plain);
        DeadFrame(*kicked);
    }
    EXPECT_LT(kicked->body.points[0].position.z, plain->body.points[0].position.z - 0.5f);
}

TEST_F(RagDoll, BodyTurnsToARagDollOneFrameAfterDeathAndBackOneFrameAfterRespawn) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    c->alive = 0;
    EXPECT_EQ(c->body.physicsActive, 0);
    Frame(*c, Vec4(0, 0, 0, 1));
    EXPECT_EQ(c->body.animated, 0);
    EXPECT_EQ(c->body.physicsActive, 1);
    c->deadTimer = 19.95f;
    Frame(*c, Vec4(0, 0, 0, 1));  // respawns during this move, still a rag doll here
    EXPECT_EQ(c->alive, 1);
    EXPECT_EQ(c->body.physicsActive, 1);
    Frame(*c, Vec4(0, 0, 0, 1));
    EXPECT_EQ(c->body.physicsActive, 0);
    // Snapped back onto the skeleton, 25 units up.
    EXPECT_NEAR(c->body.points[17].position.y, 25.0f - 0.0025f - 1.2f, 1e-3f);
}

TEST_F(RagDoll, RagDollButtonMakesEveryBodyLimpAndSkipsTheSkeletonUnlessTheLimbButtonIsHeld) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    const float sentinel = 7.0f;
    c->body.joints[5].world.m[0][0] = sentinel;  // an end joint: only kinematics rewrites its axes
    inputState.controller.rgbButtons[2] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_EQ(c->alive, 1);
    EXPECT_EQ(c->body.physicsActive, 1);
    EXPECT_EQ(c->body.joints[5].world.m[0][0], sentinel);
    inputState.controller.rgbButtons[1] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_NE(c->body.joints[5].world.m[0][0], sentinel);
}

TEST_F(RagDoll, LimbButtonPutsHandsOnTheOppositeToesAndShouldersOnTheKnees) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    inputState.controller.rgbButtons[1] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    const CreatureBody& b = c->body;
    const int pairs[][2] = {{9, 21}, {13, 17}, {6, 15}, {10, 19}};
    for (const auto& [point, joint] : pairs) {
        const Vec4 at = b.joints[joint].world.GetColumn(3);
        ExpectNear(b.points[point].position, at.x, at.y, at.z, 0);
    }
    // Animated: the skeleton is not rebuilt, so the hand joint stays on the arm.
    EXPECT_EQ(b.physicsActive, 0);
    EXPECT_GT(b.joints[9].world.m[1][3] - b.points[9].position.y, 0.5f);
}

}  // namespace
