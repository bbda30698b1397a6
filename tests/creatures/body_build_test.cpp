#include <vector>

#include "creature_test_support.h"

namespace {

std::vector<int> Partners(CreatureBody& body, const MassLink* list, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<int>(list[i].other - body.points));
    return out;
}
std::vector<int> Links(CreatureBody& b, int k) { return Partners(b, b.points[k].links, b.points[k].linkCount); }

using BodyBuild = CreatureTest;

TEST_F(BodyBuild, LinksAreListedInTheOrderTheyAreAdded) {
    Creature c;
    CreatureBody& b = c.body;
    EXPECT_EQ(Links(b, 0), (std::vector<int>{1, 14, 18}));
    EXPECT_EQ(Links(b, 14), (std::vector<int>{0, 15, 18, 10, 6, 19, 4}));
    EXPECT_EQ(Links(b, 18), (std::vector<int>{0, 19, 14, 6, 10, 15, 4}));
    EXPECT_EQ(Links(b, 4), (std::vector<int>{3, 5, 14, 18}));
    EXPECT_EQ(Links(b, 6), (std::vector<int>{3, 7, 10}));
    EXPECT_EQ(Links(b, 3), (std::vector<int>{2, 4, 6, 10}));
    EXPECT_EQ(Links(b, 22), (std::vector<int>{15, 14, 18, 16}));
    EXPECT_EQ(Links(b, 23), (std::vector<int>{19, 18, 14, 20}));
    EXPECT_EQ(Links(b, 9), (std::vector<int>{8}));
    EXPECT_EQ(b.points[4].links[2].restLength, 0.0f);
    const float guide = 0.1f * 2.5f * 1.475f;
    EXPECT_EQ(b.points[22].links[0].restLength, guide);
    EXPECT_EQ(b.points[23].links[3].restLength, guide);
}

TEST_F(BodyBuild, SpacersAreOneWayWithScaledDistances) {
    Creature c;
    CreatureBody& b = c.body;
    const int from[] = {5, 6, 10, 11, 7, 12, 8, 19, 15, 20, 16};
    const int to[] = {3, 11, 7, 0, 0, 10, 6, 2, 2, 18, 14};
    const float factor[] = {1.475f, 2.875f, 2.875f, 1.0f, 1.0f, 3.16f, 3.16f, 4.16f, 4.16f, 2.016f, 2.016f};
    int total = 0;
    for (const MassPoint& p : b.points) total += p.spacerCount;
    EXPECT_EQ(total, 11);
    for (int i = 0; i < 11; ++i) {
        const MassPoint& p = b.points[from[i]];
        ASSERT_EQ(p.spacerCount, 1) << from[i];
        EXPECT_EQ(p.spacers[0].other, &b.points[to[i]]);
        EXPECT_EQ(p.spacers[0].restLength, 0.1f * 2.5f * factor[i]);
    }
    EXPECT_NEAR(b.points[19].spacers[0].restLength, 1.04f, 1e-6f);
}

TEST_F(BodyBuild, ColourIsDrawnBlueThenGreenThenRed) {
    game::SetRandState(12345);
    const float blue = game::rand() / 32767.0f;
    const float green = game::rand() / 32767.0f;
    const float red = game::rand() / 32767.0f;
    const uint32_t after = game::RandState();
    game::SetRandState(12345);
    Creature c;
    EXPECT_EQ(c.body.colour.x, red);
    EXPECT_EQ(c.body.colour.y, green);
    EXPECT_EQ(c.body.colour.z, blue);
    EXPECT_EQ(c.body.colour.w, 0.0f);
    EXPECT_EQ(game::RandState(), after);  // exactly three draws
}

TEST_F(BodyBuild, RebuildRestoresSkeletonAndConstraintsButDrawsANewColour) {
    auto c = StandingAt(Vec4(3, 0, 4, 1));
    for (int i = 0; i < 30; ++i) Frame(*c, Vec4(200, 0, 300, 1));
    const Vec4 oldColour = c->body.colour;
    c->body.aiming = 1;
    c->body.gunPointA = 13;
    c->body.gunPointB = -1;
    c->leadTarget = 1;
    c->health = -0.1f;
    c->alive = 0;
    const Vec4 where = c->position;
    c->ResetForNewGame();
    CreatureBody& b = c->body;
    EXPECT_NE(b.colour.x, oldColour.x);
    EXPECT_EQ(b.opacity, 1.0f);
    EXPECT_EQ(b.aiming, 0);
    EXPECT_EQ(b.gunPointA, 8);
    EXPECT_EQ(b.gunPointB, -1);  // left alone by the build
    EXPECT_EQ(b.points[14].linkCount, 7);
    EXPECT_EQ(b.points[5].spacerCount, 1);
    EXPECT_EQ(b.joints[15].localRotation.m[1][2], 0.0f);
    EXPECT_EQ(b.joints[15].world.m[0][3], 0.0f);
    EXPECT_EQ(b.bobOffset.y, 0.0f);
    EXPECT_EQ(b.rootTransform.m[0][0], 1.0f);
    EXPECT_EQ(c->alive, 1);
    EXPECT_EQ(c->health, 0.9f);
    EXPECT_EQ(c->leadTarget, 1);
    EXPECT_EQ(c->position.x, where.x);
    EXPECT_EQ(c->position.z, where.z);
}

TEST_F(BodyBuild, RingTablesCloseAfterSixtyDegreeSteps) {
    Creature c;
    for (int i = 0; i < kRingSteps; ++i) {
        EXPECT_NEAR(tubeSine[i], std::sin(i * M_PI / 3), 1e-6);
        EXPECT_NEAR(tubeCosine[i], std::cos(i * M_PI / 3), 1e-6);
    }
    EXPECT_NEAR(tubeSine[6], tubeSine[0], 1e-6f);
    EXPECT_NEAR(tubeCosine[6], tubeCosine[0], 1e-6f);
}

}  // namespace
