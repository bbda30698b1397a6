#include "creature_test_support.h"

namespace {

class AimPose : public CreatureTest {
protected:
    // The player's figure standing still, facing -z, aiming along `dir` for a few frames.
    std::unique_ptr<Creature> AimingAlong(Vec4 dir, int frames = 5) {
        auto c = StandingAt(Vec4(0, 0, 0, 1));
        for (int k = 0; k < CreatureBody::kJointCount; ++k) rest[k] = c->body.joints[k].world.GetColumn(3);
        for (int i = 0; i < frames; ++i) {
            c->body.SetAim(1, dir);
            Frame(*c, Vec4(0, 0, 0, 1));
        }
        return c;
    }
    static Vec4 Ahead(float degrees) {
        const float a = degrees * 3.14159265f / 180.0f;
        return Vec4(std::sin(a), 0, -std::cos(a), 1);  // 0 is straight ahead (-z), positive turns to +x
    }
    // Standing still, the skeleton's joints stay where the rest pose put them,
    // so a pinned point sits exactly there.
    bool Pinned(const CreatureBody& b, int k) const { return (b.points[k].position - rest[k]).Length() < 1e-6f; }
    Vec4 rest[CreatureBody::kJointCount];
};

TEST_F(AimPose, AimWithinThirtyDegreesAheadRaisesBothArmsAndFiresFromBothHands) {
    for (float degrees : {0.0f, 25.0f, -25.0f}) {
        SCOPED_TRACE(degrees);
        auto c = AimingAlong(Ahead(degrees) * 5.0f);
        const CreatureBody& b = c->body;
        EXPECT_EQ(b.gunPointA, 9);
        EXPECT_EQ(b.gunPointB, 13);
        EXPECT_EQ(b.physicsActive, 1);
        // Both hands reach forward of their shoulders, along the aim.
        for (int arm : {6, 10}) {
            const Vec4 reach = b.points[arm + 3].position - b.joints[arm].world.GetColumn(3);
            EXPECT_GT(reach.Dot(Ahead(degrees)), 0.4f) << arm;
        }
        EXPECT_FALSE(Pinned(b, 11));
        EXPECT_TRUE(Pinned(b, 5));
        EXPECT_TRUE(Pinned(b, 17));
    }
}

TEST_F(AimPose, AimToASideMovesOnlyThatArm) {
    const struct {
        float degrees;
        int hand, otherHand;
    } cases[] = {{35, 9, 13}, {90, 9, 13}, {-35, 13, 9}, {-90, 13, 9}, {180, 13, 9}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.degrees);
        auto c = AimingAlong(Ahead(k.degrees));
        const CreatureBody& b = c->body;
        EXPECT_EQ(b.gunPointA, k.hand);
        EXPECT_EQ(b.gunPointB, -1);
        for (int p = k.otherHand - 2; p <= k.otherHand; ++p) EXPECT_TRUE(Pinned(b, p)) << p;
        for (int p = k.hand - 2; p <= k.hand; ++p) EXPECT_FALSE(Pinned(b, p)) << p;
        const Vec4 shoulder = b.joints[k.hand - 3].world.GetColumn(3);
        EXPECT_GT((b.points[k.hand].position - shoulder).Dot(Ahead(k.degrees)), 0.4f);
    }
}

TEST_F(AimPose, SecondArmStartsFromTheDirectionTheFirstArmLeftBehind) {
    const Vec4 aim = Ahead(10) * 3.0f;
    auto c = AimingAlong(aim);
    const CreatureBody& b = c->body;
    // Steps of the -X arm, then the +X arm's hand and wrist, each rescaling in place.
    Vec4 a = aim;
    const float scales[] = {0.8f, 0.7f, 0.0f, 0.8f, 0.7f};
    for (float s : scales) {
        a.Normalize();
        if (s == 0.0f) {
            a.y -= 0.1f;
            a *= 0.3f;
        } else {
            a *= s;
        }
    }
    a.Normalize();
    a.y -= 0.1f;
    a *= 0.3f;
    // The +X elbow is pinned first, then pulled halfway to its aim point.
    const Vec4 target = rest[6] + a;
    const Vec4 want = rest[7] + (target - rest[7]) * 0.5f;
    ExpectNear(b.points[7].position, want.x, want.y, want.z, 1e-6f);
    ExpectNear(b.aimDir, a.x, a.y, a.z, 0);
    EXPECT_LT(b.aimDir.y, 0.0f);
    // The skeleton is rebuilt from the points while aiming.
    const Vec4 hand = b.points[9].position;
    ExpectNear(b.joints[9].world.GetColumn(3), hand.x, hand.y, hand.z, 0);
}

TEST_F(AimPose, AimIsOnlyTakenWhileAliveAndKneeGuidesStayFree) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    c->body.animated = 0;
    c->body.SetAim(1, Vec4(0, 0, -1, 1));
    EXPECT_EQ(c->body.aiming, 0);
    EXPECT_EQ(c->body.aimDir.z, -1.0f);
    c->body.animated = 1;
    c->body.SetAim(1, Vec4(0, 0, -1, 1));
    EXPECT_EQ(c->body.aiming, 1);

    auto a = AimingAlong(Ahead(0), 1);
    const Vec4 guide = a->body.points[22].position;
    a->body.points[22].position.y += 0.3f;  // nudge it: pinning would undo this
    a->body.SetAim(1, Ahead(0));
    Frame(*a, Vec4(0, 0, 0, 1));
    EXPECT_GT(a->body.points[22].position.y - guide.y, 0.01f);
    EXPECT_TRUE(IsFinite(a->body.points[22].position));
}

TEST_F(AimPose, ZeroAimDirectionStillGivesAFinitePose) {
    auto c = AimingAlong(Vec4(0, 0, 0, 1), 10);
    for (const MassPoint& p : c->body.points) EXPECT_TRUE(IsFinite(p.position));
    EXPECT_EQ(c->body.gunPointA, 13);
    EXPECT_EQ(c->body.gunPointB, -1);
}

}  // namespace
