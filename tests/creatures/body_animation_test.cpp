#include "creature_test_support.h"

namespace {

// Plain double-precision rotations, independent of Mat4, for hand-computed poses.
struct V3 {
    double x, y, z;
};
V3 RotX(V3 v, double a) { return {v.x, std::cos(a) * v.y + std::sin(a) * v.z, -std::sin(a) * v.y + std::cos(a) * v.z}; }
V3 RotY(V3 v, double a) { return {std::cos(a) * v.x + std::sin(a) * v.z, v.y, -std::sin(a) * v.x + std::cos(a) * v.z}; }
V3 RotZ(V3 v, double a) { return {std::cos(a) * v.x + std::sin(a) * v.y, -std::sin(a) * v.x + std::cos(a) * v.y, v.z}; }
V3 Add(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

using BodyAnimation = CreatureTest;

TEST_F(BodyAnimation, StandingBodyTakesTheRestPoseAtItsPositionAndHeading) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    CreatureBody& b = c->body;
    b.AnimateWalk(0.7f, 0.0f);
    EXPECT_EQ(b.bobOffset.x, 0.0f);
    EXPECT_EQ(b.bobOffset.y, 0.0f);
    const double heading = 1.2;
    b.headingTransform = Mat4::Identity();
    b.headingTransform.SetRotationY(static_cast<float>(heading));
    ClearBatch();
    b.Update(Vec4(5, 0.5f, -3, 1));
    // Sums of the offsets down each chain, scaled by 0.1, turned, moved.
    const struct {
        int joint;
        V3 body;
    } expected[] = {
        {17, {1.2, -12, -1.02}}, {21, {-1.2, -12, -1.02}}, {5, {0, 14.25, -0.2}}, {9, {2.5, -0.5, -0.5}},
        {13, {-2.5, -0.5, -0.5}}, {3, {0, 10, 0}},
    };
    for (const auto& e : expected) {
        const V3 w = RotY({e.body.x * 0.1, e.body.y * 0.1, e.body.z * 0.1}, heading);
        ExpectNear(b.joints[e.joint].world.GetColumn(3), 5 + w.x, 0.5f + w.y, -3 + w.z);
        ExpectNear(b.points[e.joint].position, 5 + w.x, 0.5f + w.y, -3 + w.z);  // pinned
    }
    EXPECT_EQ(b.physicsActive, 0);
}

TEST_F(BodyAnimation, WalkCycleRotatesTheLimbsAndSwingsTheBob) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    CreatureBody& b = c->body;
    const float p = 0.3f, m = 0.4f;
    const float d = std::sin(6.0f * p) * m;
    b.AnimateWalk(p, m);
    const struct {
        int joint;
        char axis;
        float angle;
    } table[] = {{14, 'x', -0.35f * d}, {18, 'x', 0.35f * d}, {16, 'x', 0.6f * m - 0.5f * d},
                 {20, 'x', 0.6f * m + 0.5f * d}, {7, 'x', -0.5f * m + 0.4515f * d}, {11, 'x', -0.5f * m - 0.4515f * d},
                 {3, 'y', -0.25f * d}, {4, 'y', 0.25f * d}, {2, 'z', -0.125f * d}, {0, 'z', 0.0125f * d}};
    for (const auto& t : table) {
        const Mat4& r = b.joints[t.joint].localRotation;
        const float s = t.axis == 'x' ? r.m[1][2] : t.axis == 'y' ? r.m[0][2] : r.m[0][1];
        EXPECT_FLOAT_EQ(s, std::sin(t.angle)) << t.joint;
        EXPECT_EQ(r.m[3][3], 1.0f);
    }
    EXPECT_EQ(b.joints[5].localRotation.m[0][0], 1.0f);  // head is not animated
    // Up and down, and along the root's Z column, which carries the body scale.
    EXPECT_FLOAT_EQ(b.bobOffset.y, 0.015f * m * std::sin(12 * p + 1.5f));
    EXPECT_FLOAT_EQ(b.bobOffset.z, 0.1f * 0.061f * m * std::sin(12 * p));
    EXPECT_EQ(b.bobOffset.x, 0.0f);
}

TEST_F(BodyAnimation, ForwardKinematicsChainsParentTimesChildFromTheRoot) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    CreatureBody& b = c->body;
    const float p = 0.2f, m = 0.5f;
    b.AnimateWalk(p, m);
    const Vec4 bob = b.bobOffset;
    const double d = std::sin(6.0 * p) * m;
    b.headingTransform = Mat4::Identity();
    ClearBatch();
    b.Update(Vec4(1, 0, 1, 1));
    // Knee: o0 + R0 (o14 + R14 o15), with R0 about Z and R14 about X.
    const V3 thigh = RotX({0.5, -7, -0.15}, -0.35 * d);
    const V3 knee = Add({0, 2, 0}, RotZ(Add({0.7, -1, 0}, thigh), 0.0125 * d));
    ExpectNear(b.joints[15].world.GetColumn(3), 1 + knee.x * 0.1 + bob.x, knee.y * 0.1 + bob.y, 1 + knee.z * 0.1 + bob.z);
    // Neck: through joints 1, 2 (about Z) and 3 (about Y).
    V3 neck = RotY({0, 1.25, -0.2}, -0.25 * d);
    neck = RotZ(Add({0, 4, -0.2}, neck), -0.125 * d);
    neck = RotZ(Add({0, 2, 0}, neck), 0.125 * d);
    neck = RotZ(Add({0, 2, 0.2}, neck), 0.0125 * d);
    neck = Add({0, 2, 0}, neck);
    ExpectNear(b.joints[4].world.GetColumn(3), 1 + neck.x * 0.1 + bob.x, neck.y * 0.1 + bob.y, 1 + neck.z * 0.1 + bob.z);
}

}  // namespace
