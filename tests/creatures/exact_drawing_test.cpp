// Bit-exact pins on what the figures draw: one tube against the plain scalar
// arithmetic, and digests of every vertex of 50 walking figures and 49 rag
// dolls. A re-bracketed sum or a reordered clamp anywhere in the body update
// changes a digest.
#include <cstring>
#include <memory>
#include <random>

#include "creature_test_support.h"
#include "support/creature_digest.h"
#include "world/game_random.h"

namespace {

using ExactDrawing = CreatureTest;

// The tube as written one operation at a time, with the Vec4 operations.
void ReferenceTube(const Mat4& f, Vec4 end, float length, float rd, float rw, Vec4* previousRing, Vec4* currentRing,
                   const Vec4* bendAxis, BatchVertex* out, D3DCOLOR colour) {
    const Vec4 start = end + f.GetColumn(1) * length;
    for (int i = 0; i < kRingSteps; ++i) {
        const Vec4 z = f.GetColumn(2) * (rd * tubeSine[i]), x = f.GetColumn(0) * (rw * tubeCosine[i]);
        const Vec4 ringPoint = end + z + x;
        Vec4 n = z + x;
        const float radius = n.Length(), u = static_cast<float>(i) * 0.16666667f;
        n.Normalize();
        Vec4 far = start + z + x;
        if (previousRing) {
            if (bendAxis) {
                Vec4 a = *bendAxis;
                a.Normalize();
                const float d = a.Dot(n);
                if (d > 0) previousRing[i] += a * (d * radius * 2.0f);
            }
            far = previousRing[i];
        }
        out[2 * i] = {ringPoint.x, ringPoint.y, ringPoint.z + 4.0f, n.x, n.y, n.z, colour, u, 0.0f};
        out[2 * i + 1] = {far.x, far.y, far.z + 4.0f, n.x, n.y, n.z, colour, u, 1.0f};
        currentRing[i] = ringPoint;
    }
}

TEST_F(ExactDrawing, TubeMatchesTheScalarArithmeticBitForBit) {
    const Creature builder;  // fills the ring's sine and cosine tables
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    const Vec4 colour(0.3f, 0.6f, 0.9f, 1.0f);
    for (int trial = 0; trial < 90; ++trial) {
        SCOPED_TRACE(trial);
        const auto v = [&] { return Vec4(value(random), value(random), value(random), value(random)); };
        Mat4 frame;
        for (int r = 0; r < 4; ++r) frame.SetColumn(r, v());
        // A width radius of 0 puts ring point 0's normal (and others') under the length floor.
        const float length = value(random), rd = value(random), rw = trial % 10 == 0 ? 0.0f : value(random);
        const Vec4 end = v(), bend = v();
        Vec4 previous[kRingSteps], expectedPrevious[kRingSteps], current[kRingSteps], expectedCurrent[kRingSteps];
        for (int i = 0; i < kRingSteps; ++i) previous[i] = expectedPrevious[i] = v();
        const bool shared = trial % 3 != 0, bent = trial % 3 == 2;
        BatchVertex expected[14];
        ReferenceTube(frame, end, length, rd, rw, shared ? expectedPrevious : nullptr, expectedCurrent,
                      bent ? &bend : nullptr, expected, PackColour(colour));
        ClearBatch();
        DrawTube(colour, frame, end, length, rd, rw, shared ? previous : nullptr, current, bent ? &bend : nullptr);
        ASSERT_GE(vertexBatch.count, 14);
        EXPECT_EQ(0, std::memcmp(buffer->vertices + vertexBatch.count - 14, expected, sizeof expected));
        EXPECT_EQ(0, std::memcmp(current, expectedCurrent, sizeof current));
        EXPECT_EQ(0, std::memcmp(previous, expectedPrevious, sizeof previous));
    }
}

TEST_F(ExactDrawing, WalkingFiguresAndRagDollsDrawTheirGoldenVertices) {
    auto vertices = std::make_unique<ArrayVertexBuffer<60000>>();
    vertexBatch.buffer = vertices.get();
    // The figures as the program starts them, whatever earlier tests left.
    game::SetRandState(1);
    for (Creature& c : creatures) std::construct_at(&c);
    for (Vec4& s : separation) s = Vec4(0, 0, 0, 1);
    PlaceFigures();
    int frame = 0;
    while (frame < 60) CreatureFrame(frame++, false);
    EXPECT_EQ(VertexDigest(vertices->vertices), 0x4c3bf16f217243f4u) << std::hex << VertexDigest(vertices->vertices);
    KillEnemies();
    while (frame < 80) CreatureFrame(frame++, true);
    int ragDolls = 0;
    for (const Creature& c : creatures) ragDolls += c.body.physicsActive;
    EXPECT_EQ(ragDolls, 49);
    EXPECT_EQ(VertexDigest(vertices->vertices), 0x9c81a345e9f56045u) << std::hex << VertexDigest(vertices->vertices);
}

}  // namespace
