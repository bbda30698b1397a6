// Gravity, damping, friction, the floor and the link solver are pinned by the
// rag dolls of the replay and vertex goldens; these are the cases those never meet.
#include <gtest/gtest.h>

#include "math/mass_point.h"

namespace {
MassPoint Point(float x, float y, float z) {
    MassPoint p;
    p.position = p.previous = Vec4(x, y, z, 1);
    return p;
}
}  // namespace

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
