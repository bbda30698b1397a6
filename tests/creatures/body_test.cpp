#include <vector>

#include "creature_test_support.h"
#include "world/game_random.h"

namespace {

using Body = CreatureTest;

std::vector<int> Links(const CreatureBody& b, int k) {
    std::vector<int> out;
    for (int i = 0; i < b.points[k].linkCount; ++i) out.push_back(static_cast<int>(b.points[k].links[i].other - b.points));
    return out;
}

TEST_F(Body, BuildListsLinksInOrderSpacersOneWayAndDrawsBlueGreenRed) {
    game::SetRandState(12345);
    const float blue = game::rand() / 32767.0f, green = game::rand() / 32767.0f, red = game::rand() / 32767.0f;
    game::SetRandState(12345);
    Creature c;
    EXPECT_EQ(c.body.colour.x, red);
    EXPECT_EQ(c.body.colour.y, green);
    EXPECT_EQ(c.body.colour.z, blue);
    EXPECT_EQ(Links(c.body, 0), (std::vector<int>{1, 14, 18}));
    EXPECT_EQ(Links(c.body, 14), (std::vector<int>{0, 15, 18, 10, 6, 19, 4}));
    EXPECT_EQ(Links(c.body, 22), (std::vector<int>{15, 14, 18, 16}));
    EXPECT_EQ(c.body.points[22].links[0].restLength, 0.1f * 2.5f * 1.475f);
    EXPECT_EQ(c.body.points[19].spacers[0].other, &c.body.points[2]);
    EXPECT_EQ(c.body.points[19].spacers[0].restLength, 0.1f * 2.5f * 4.16f);
    c.ResetForNewGame();  // a rebuild adds nothing twice
    EXPECT_EQ(Links(c.body, 14).size(), 7u);
    EXPECT_NE(c.body.colour.x, red);
}

// Vertex j (0..13) of the tube ending at joint k: each tube follows a strip
// break and its doubled first vertex.
Vec4 TubeVertex(const BatchVertex* v, int k, int j) {
    const BatchVertex& b = v[16 * (k - 1) + 2 + j];
    return Vec4(b.x, b.y, b.z - 4.0f, 1);
}

TEST_F(Body, DrawsTwentyOneColouredTubesSharingRings) {
    auto c = StandingAt(Vec4(1, 0, 2, 1));
    CreatureBody& b = c->body;
    b.colour = Vec4(0.2f, 0.4f, 0.6f, 0);
    b.ForwardKinematics();
    ClearBatch();
    b.FillJointColours();
    b.DrawBody();
    ASSERT_EQ(vertexBatch.count, 21 * 16 + 1);
    const BatchVertex* v = buffer->vertices;
    // Tube 1 builds its own start ring 0.2 below joint 1; tube 2 starts on tube 1's end ring.
    EXPECT_NEAR(Distance(TubeVertex(v, 1, 1), At(b.joints[1].world) + Vec4(0.1515f, -0.2f, 0, 0)), 0.0f, 1e-5f);
    for (int j = 0; j < 14; j += 2) EXPECT_NEAR(Distance(TubeVertex(v, 2, j + 1), TubeVertex(v, 1, j)), 0, 1e-6f);
    EXPECT_NEAR(Distance(TubeVertex(v, 1, 12), TubeVertex(v, 1, 0)), 0, 1e-6f);  // the ring closes
    // Pale trunk and arms, white head, the body's colour on the legs; yellow and clear when highlighted at opacity 0.
    for (int k = 1; k <= 21; ++k) {
        const bool leg = (k >= 14 && k <= 16) || (k >= 18 && k <= 20);
        EXPECT_EQ(v[16 * k - 1].colour, k == 5 ? 0xFFFFFFFFu : leg ? PackColour(Vec4(0.2f, 0.4f, 0.6f, 1)) : 0xFFFFE6E6u);
    }
    c->highlight = 1;
    b.opacity = 0.0f;
    ClearBatch();
    b.FillJointColours();
    b.DrawBody();
    for (int k = 1; k <= 21; ++k) EXPECT_EQ(v[16 * k - 1].colour, 0x00FFFF00u) << k;
}

}  // namespace
