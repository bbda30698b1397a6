// Gravity, damping, friction, the floor and the link solver are pinned by the
// rag dolls of the replay and vertex goldens; these are the cases those never meet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

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

// The spacer's squared-distance bound must split the squares exactly where
// the length computed from them reaches the spacer's length: one float off
// and a spacer at the bound would be skipped or corrected against the rules.
TEST(MassPoint, SpacerBoundSplitsTheSquaresExactly) {
    const float lengths[] = {0.3f, 0.35f, 1.0f, 2.5f * 0.175f, 3.1622776e-5f, 3.17e-5f, 1e-6f,
                             1e-3f, 123.456f, 1.8446743e19f, 3e38f, INFINITY};
    uint32_t seed = 12345;
    for (int i = 0; i < 20000 + static_cast<int>(std::size(lengths)); ++i) {
        float length;
        if (i < static_cast<int>(std::size(lengths))) {
            length = lengths[i];
        } else {  // lengths spread over the exponents the bodies use and beyond
            seed = seed * 1664525u + 1013904223u;
            const uint32_t bits = 0x30000000u + seed % 0x1a000000u;
            std::memcpy(&length, &bits, sizeof length);
        }
        const float bound = LeastSquareNotShorter(length);
        ASSERT_FALSE(SolverLength(bound) < length) << "length " << length;
        if (bound > 0.0f) {
            ASSERT_TRUE(SolverLength(std::nextafter(bound, 0.0f)) < length) << "length " << length;
        }
    }
    // Nothing is below a length of zero, below zero or NaN: every spacer holds.
    EXPECT_EQ(LeastSquareNotShorter(0.0f), 0.0f);
    EXPECT_EQ(LeastSquareNotShorter(-1.0f), 0.0f);
    EXPECT_EQ(LeastSquareNotShorter(NAN), 0.0f);
}

TEST(MassPoint, SpacersPushOutOnlyWhenNearer) {
    // Exactly at the length (3-4-5) the spacer holds; a hair nearer it pushes,
    // each point half of the shortfall along the line between them.
    MassPoint p = Point(0, 0, 0), at = Point(3, 4, 0), near = Point(3, 4, 0);
    p.AddSpacer(&at, 5.0f);
    p.SatisfyLinks();
    EXPECT_EQ(p.position.x, 0.0f);
    EXPECT_EQ(at.position.x, 3.0f);

    MassPoint r = Point(0, 0, 0);
    r.AddSpacer(&near, 6.0f);
    r.SatisfyLinks();
    EXPECT_FLOAT_EQ(r.position.x, -0.3f);
    EXPECT_FLOAT_EQ(r.position.y, -0.4f);
    EXPECT_FLOAT_EQ(near.position.x, 3.3f);
    EXPECT_FLOAT_EQ(near.position.y, 4.4f);
}

// Links and their way back pair one to one, in the order they are added; a
// link with no way back, or one past a full list, stays unpaired.
TEST(MassPoint, LinksPairWithTheirWayBack) {
    MassPoint a = Point(0, 0, 0), b = Point(1, 0, 0), c = Point(0, 1, 0);
    a.AddLink(&b, 0);  // a0: b0 comes back
    a.AddLink(&b, 0);  // a1: the second b link back is b2
    a.AddLink(&c, 0);  // a2: c never links back
    b.AddLink(&a, 0);
    b.AddLink(&c, 0);  // b1: c0 comes back
    b.AddLink(&a, 0);
    c.AddLink(&b, 0);
    b.AddLink(&a, 0);  // b3: both a links are taken
    EXPECT_EQ(a.links[0].backSlot, 0);
    EXPECT_EQ(b.links[0].backSlot, 0);
    EXPECT_EQ(a.links[1].backSlot, 2);
    EXPECT_EQ(b.links[2].backSlot, 1);
    EXPECT_EQ(a.links[2].backSlot, -1);
    EXPECT_EQ(b.links[1].backSlot, 0);
    EXPECT_EQ(c.links[0].backSlot, 1);
    EXPECT_EQ(b.links[3].backSlot, -1);

    MassPoint full = Point(0, 0, 0), d = Point(2, 0, 0);
    for (int i = 0; i < MassPoint::kMaxLinks; ++i) full.AddLink(&c, 0);
    d.AddLink(&full, 0);
    full.AddLink(&d, 0);  // no room: d's link stays unpaired
    EXPECT_EQ(full.linkCount, MassPoint::kMaxLinks);
    EXPECT_EQ(d.links[0].backSlot, -1);
}
