#include <gtest/gtest.h>

#include "math/mass_point.h"

namespace {
MassPoint Point(float x, float y, float z) {
    MassPoint p;
    p.position = p.previous = Vec4(x, y, z, 1);
    return p;
}
}  // namespace

TEST(MassPoint, RestingPointFallsByGravityAndStoresItAsVelocity) {
    MassPoint a = Point(0, 5, 0), b = Point(0, 6, 0);
    a.AddLink(&b, 1.0f);
    a.StoreVelocity();
    a.Integrate();
    EXPECT_FLOAT_EQ(a.position.y, 5.0f - 0.0025f);
    a.StoreVelocity();
    EXPECT_NEAR(a.velocity.y, -0.0025f, 1e-6f);
    EXPECT_EQ(a.velocity.w, 1.0f);  // w follows the position
}

TEST(MassPoint, ClampBlockRunsOncePerLinkAndStopsDownwardMotion) {
    MassPoint p = Point(0, -1.3f, 0), q1 = Point(0, 0, 0), q2 = Point(1, 0, 0);
    p.AddLink(&q1, 1);
    p.AddLink(&q2, 1);
    p.velocity = Vec4(0.1f, -0.2f, 0, 0);
    p.Integrate();
    // 0.9999 damping, then two 0.95 frictions; y was clamped and zeroed.
    float vx = 0.1f * 0.9999f * 0.95f * 0.95f;
    EXPECT_FLOAT_EQ(p.velocity.x, vx);
    EXPECT_EQ(p.velocity.y, 0.0f);
    EXPECT_EQ(p.position.y, -1.21f);
    EXPECT_FLOAT_EQ(p.position.x, vx);
    EXPECT_EQ(p.previous.y, -1.3f);  // the clamp happens after previous is stored
}

TEST(MassPoint, WallsClampOnlyPointsWithLinks) {
    MassPoint loose = Point(30, 0, -30), tied = Point(30, 0, -30), other = Point(0, 0, 0);
    tied.AddLink(&other, 1);
    loose.Integrate();
    tied.Integrate();
    EXPECT_EQ(std::make_pair(loose.position.x, loose.position.z), std::make_pair(30.0f, -30.0f));
    EXPECT_EQ(std::make_pair(tied.position.x, tied.position.z), std::make_pair(24.0f, -24.0f));
}

TEST(MassPoint, CoincidentPointsAreSeparatedVertically) {
    MassPoint p = Point(1, 1, 1), q = Point(1, 1, 1);
    p.AddLink(&q, 0.4f);
    p.SatisfyLinks();
    // D is taken as (0, 1, 0): P moves down by 0.3 and Q up by 0.3.
    EXPECT_FLOAT_EQ(p.position.y, 0.7f);
    EXPECT_FLOAT_EQ(q.position.y, 1.3f);
}

TEST(MassPoint, SpacerOnlyPushesApart) {
    MassPoint p = Point(0, 0, 0), q = Point(0.5f, 0, 0);
    p.AddSpacer(&q, 1.0f);
    p.SatisfyLinks();
    EXPECT_FLOAT_EQ(p.position.x, -0.25f);
    EXPECT_FLOAT_EQ(q.position.x, 0.75f);

    MassPoint far1 = Point(0, 0, 0), far2 = Point(1.5f, 0, 0);
    far1.AddSpacer(&far2, 1.0f);
    far1.SatisfyLinks();
    EXPECT_EQ(std::make_pair(far1.position.x, far2.position.x), std::make_pair(0.0f, 1.5f));
}

// Each link pulls both its points halfway to the rest length; the second link
// sees the first link's correction already applied.
TEST(MassPoint, LinksPullBothPointsHalfwayAndAreSolvedInOrder) {
    MassPoint p = Point(0, 0, 0), a = Point(2, 0, 0), b = Point(-2, 0, 0);
    p.AddLink(&a, 1.0f);
    p.AddLink(&b, 1.0f);
    p.SatisfyLinks();
    // First: p -> 0.5, a -> 1.5. Second: distance 2.5 to b, error 1.5: p -> -0.25, b -> -1.25.
    EXPECT_FLOAT_EQ(a.position.x, 1.5f);
    EXPECT_FLOAT_EQ(p.position.x, -0.25f);
    EXPECT_FLOAT_EQ(b.position.x, -1.25f);
}
