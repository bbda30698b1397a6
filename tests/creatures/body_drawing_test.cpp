#include "creature_test_support.h"
#include "world/world_tables.h"

namespace {

constexpr int kBodyVertices = 21 * 16 + 1;  // per tube: strip break, doubled first, 14; then the last break

// Vertex j (0..13) of the tube that ends at joint k.
const BatchVertex& TubeVertex(const ArrayVertexBuffer<kTestBatchCapacity>& b, int k, int j) {
    return b.vertices[16 * (k - 1) + 2 + j];
}
Vec4 At(const BatchVertex& v) { return Vec4(v.x, v.y, v.z - 4.0f, 1); }

class BodyDrawing : public CreatureTest {
protected:
    void Draw(Creature& c) {
        ClearBatch();
        c.body.FillJointColours();
        c.body.DrawBody();
    }
};

TEST_F(BodyDrawing, TwentyOneTubesOfFourteenVerticesAlternatingEndAndStartRing) {
    auto c = StandingAt(Vec4(1, 0, 2, 1));
    Draw(*c);
    ASSERT_EQ(vertexBatch.count, kBodyVertices);
    EXPECT_EQ(buffer->lockFailures, 0);
    for (int k = 1; k <= 21; ++k) {
        // The doubled first vertex stitches the strips; the break before it is black.
        EXPECT_EQ(buffer->vertices[16 * (k - 1)].colour, 0xFF000000u) << k;
        EXPECT_EQ(buffer->vertices[16 * (k - 1) + 1].x, TubeVertex(*buffer, k, 0).x) << k;
        for (int j = 0; j < 14; ++j) {
            EXPECT_EQ(TubeVertex(*buffer, k, j).v, j % 2 == 0 ? 0.0f : 1.0f);
            EXPECT_NEAR(TubeVertex(*buffer, k, j).u, (j / 2) / 6.0f, 1e-6f);
        }
        // The ring closes: i = 6 lands on i = 0.
        EXPECT_NEAR(TubeVertex(*buffer, k, 12).x, TubeVertex(*buffer, k, 0).x, 1e-6f);
        EXPECT_NEAR(TubeVertex(*buffer, k, 12).z, TubeVertex(*buffer, k, 0).z, 1e-6f);
    }
}

TEST_F(BodyDrawing, RootTubesBuildTheirOwnStartRingOthersShareTheParentsRing) {
    auto c = StandingAt(Vec4(1, 0, 2, 1));
    Draw(*c);
    const CreatureBody& b = c->body;
    // Tube 1 runs from the root up to joint 1: its start ring lies around joint 0,
    // 0.2 below joint 1 (length -2 along joint 0's up axis).
    const Vec4 j1 = b.joints[1].world.GetColumn(3);
    ExpectNear(At(TubeVertex(*buffer, 1, 1)), j1.x + 0.1f * 1.515f, j1.y - 0.2f, j1.z);
    ExpectNear(At(TubeVertex(*buffer, 1, 0)), j1.x + 0.1f * 1.515f, j1.y, j1.z);
    // Tubes 14 and 18 start one unit above their hip joints (length 1).
    const Vec4 j14 = b.joints[14].world.GetColumn(3);
    ExpectNear(At(TubeVertex(*buffer, 14, 1)), j14.x + 0.09f, j14.y + 0.1f, j14.z);
    // Feet: offset (0, 0, -1) has no height, so the tube's length is 1.
    const Vec4 j17 = b.joints[17].world.GetColumn(3);
    const Vec4 j16 = b.joints[16].world.GetColumn(3);
    EXPECT_NEAR(j16.z - j17.z, 0.1f, 1e-6f);
    // Each other tube starts on the end ring of the tube before it in its limb;
    // standing straight, no ring is pushed.
    const int pairs[][2] = {{2, 1}, {3, 2}, {7, 6}, {8, 7}, {9, 8}, {15, 14}, {16, 15}, {20, 19}, {5, 4}};
    for (const auto& [k, before] : pairs)
        for (int i = 0; i < 7; ++i) {
            EXPECT_NEAR(At(TubeVertex(*buffer, k, 2 * i + 1)).x, At(TubeVertex(*buffer, before, 2 * i)).x, 1e-6f);
            EXPECT_NEAR(At(TubeVertex(*buffer, k, 2 * i + 1)).y, At(TubeVertex(*buffer, before, 2 * i)).y, 1e-6f);
        }
}

TEST_F(BodyDrawing, BendPushesTheSharedRingOutwardOnlyWhereNormalsFaceAlongTheUpperBone) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    CreatureBody& b = c->body;
    b.joints[15].localRotation.SetRotationX(1.0f);  // bend the knee hard
    b.ForwardKinematics();
    Draw(*c);
    Vec4 axis = b.joints[14].world.GetColumn(1);
    axis.Normalize();
    int pushed = 0, kept = 0;
    for (int i = 0; i < 7; ++i) {
        const BatchVertex& shared = TubeVertex(*buffer, 16, 2 * i + 1);
        const Vec4 before = At(TubeVertex(*buffer, 15, 2 * i));
        const Vec4 n(shared.nx, shared.ny, shared.nz, 0);
        const float d = axis.Dot(n);
        const float lift = d > 0 ? d * (0.1f * 0.55f) * 2 : 0.0f;
        ExpectNear(At(shared), before.x + axis.x * lift, before.y + axis.y * lift, before.z + axis.z * lift);
        (d > 0 ? pushed : kept)++;
    }
    EXPECT_GT(pushed, 0);
    EXPECT_GT(kept, 0);
}

TEST_F(BodyDrawing, JointColoursPaleTrunkWhiteHeadColouredLegsHighlightAndOpacity) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    c->body.colour = Vec4(0.2f, 0.4f, 0.6f, 0);
    c->body.opacity = 1.0f;
    Draw(*c);
    const D3DCOLOR pale = PackColour(Vec4(1, 0.9f, 0.9f, 1));
    const D3DCOLOR leg = PackColour(Vec4(0.2f, 0.4f, 0.6f, 1));
    for (int k = 1; k <= 21; ++k) {
        const bool isLeg = k == 14 || k == 15 || k == 16 || k == 18 || k == 19 || k == 20;
        const D3DCOLOR want = k == 5 ? 0xFFFFFFFFu : isLeg ? leg : pale;
        for (int j = 0; j < 14; ++j) ASSERT_EQ(TubeVertex(*buffer, k, j).colour, want) << k;
    }
    EXPECT_EQ(c->body.colour.w, 1.0f);

    c->highlight = 1;
    c->body.opacity = 0.0f;
    Draw(*c);
    for (int k = 1; k <= 21; ++k)
        for (int j = 0; j < 14; ++j) ASSERT_EQ(TubeVertex(*buffer, k, j).colour, 0x00FFFF00u) << k;
    EXPECT_EQ(jointColours[0].x, 2.0f);
}

}  // namespace
