// Bit-exact pins on what the figures draw: one tube against the plain scalar
// arithmetic, and digests of every vertex of 50 walking figures and 49 rag
// dolls. A re-bracketed sum or a reordered clamp anywhere in the body update
// changes a digest.
#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "creature_test_support.h"
#include "support/creature_digest.h"
#include "support/golden_checkpoints.h"
#include "world/game_random.h"

namespace {

using ExactDrawing = CreatureTest;

// The tube as written one operation at a time, with the Vec4 operations.
void ReferenceTube(const Mat4& f, Vec4 end, float length, float rd, float rw, Vec4* previousRing, Vec4* currentRing,
                   const Vec4* bendAxis, BatchVertex* out, D3DCOLOR colour, Vec4* positions = nullptr) {
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
        if (positions) {
            positions[2 * i] = ringPoint;
            positions[2 * i + 1] = far;
        }
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

// The batch's last position is the position of the last vertex that went in,
// w and all, however many fit: the tube keeps its positions outside the
// staged vertices and sets it itself.
TEST_F(ExactDrawing, TubeLeavesTheLastVertexWrittenAsTheLastPosition) {
    const Creature builder;
    std::mt19937 random(12);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    const auto v = [&] { return Vec4(value(random), value(random), value(random), value(random)); };
    constexpr int kCapacity = 1000;  // the fixture's buffer
    for (int trial = 0; trial < 3 * 17; ++trial) {
        const int room = trial / 3;  // vertices that fit: the closing one, then the piece's 15
        const bool shared = trial % 3 != 0, bent = trial % 3 == 2;
        SCOPED_TRACE(::testing::Message() << "room " << room << ", shared " << shared << ", bent " << bent);
        Mat4 frame;
        for (int r = 0; r < 4; ++r) frame.SetColumn(r, v());
        const Vec4 end = v(), bend = v(), before = v();
        Vec4 previous[kRingSteps], expectedPrevious[kRingSteps], current[kRingSteps], positions[2 * kRingSteps];
        for (int i = 0; i < kRingSteps; ++i) previous[i] = expectedPrevious[i] = v();
        BatchVertex expected[14];
        ReferenceTube(frame, end, 1.5f, 0.7f, 0.4f, shared ? expectedPrevious : nullptr, current,
                      bent ? &bend : nullptr, expected, 0, positions);
        ClearBatch();
        vertexBatch.count = kCapacity - room;
        vertexBatch.lastPosition = before;
        DrawTube(Vec4(1, 1, 1, 1), frame, end, 1.5f, 0.7f, 0.4f, shared ? previous : nullptr, current,
                 bent ? &bend : nullptr);
        // The piece's writes are vertex 0 twice, then 1 to 13.
        const int written = std::min(room - 1, 15);
        const Vec4 expectedLast = written > 0 ? positions[std::max(written - 2, 0)] : before;
        EXPECT_EQ(0, std::memcmp(&vertexBatch.lastPosition, &expectedLast, sizeof expectedLast));
        EXPECT_EQ(vertexBatch.count, std::min(kCapacity, kCapacity - room + 16));
    }
}

// Each tube is drawn in its joint's colour: the head white, the legs the
// body's own colour, the rest pale pink, everything yellow when highlighted,
// all at the body's opacity.
TEST_F(ExactDrawing, TubesTakeTheirJointsColours) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    c->body.colour = Vec4(0.2f, 0.4f, 0.6f, 1.0f);
    c->body.opacity = 0.5f;
    for (const bool highlighted : {false, true}) {
        SCOPED_TRACE(highlighted);
        c->highlight = highlighted;
        ClearBatch();
        c->body.Update(c->position, c->moveDir, highlighted);
        for (int k = 1; k < CreatureBody::kJointCount; ++k) {
            const bool leg = (k >= CreatureBody::kHipPlusX && k <= CreatureBody::kAnklePlusX) ||
                             (k >= CreatureBody::kHipMinusX && k <= CreatureBody::kAnkleMinusX);
            const Vec4 expected = highlighted                ? Vec4(2.0f, 2.0f, 0.0f, 0.5f)
                                  : k == CreatureBody::kHead ? Vec4(1.0f, 1.0f, 1.0f, 0.5f)
                                  : leg                      ? Vec4(0.2f, 0.4f, 0.6f, 0.5f)
                                                             : Vec4(1.0f, 0.9f, 0.9f, 0.5f);
            // Each tube: the closing vertex, then its 15.
            for (int i = 1; i < 16; ++i)
                ASSERT_EQ(buffer->vertices[(k - 1) * 16 + i].colour, PackColour(expected)) << k << " " << i;
        }
    }
}

// The digest of every frame's vertices, walking for 60 frames, then with the
// enemies dead for 20.
const std::vector<uint64_t> kFrameDigests = {
    0xccb914dcee2000bbu, 0x18540ce632629196u, 0x04cdeb0c09c96669u, 0x5bbbfa13f3998805u, 0x85c38278a52b934cu,
    0x6b99af01387f2887u, 0x2dd0ecda912277b3u, 0x27223974bc74dfa8u, 0xc3ab730ab5a11621u, 0xe788be33b28ecf3fu,
    0xf0052461f29e3eb5u, 0x8c65b375d15261d4u, 0x4c231a71b6105ab8u, 0x800b373bd6a57811u, 0xc0b63d81fd569549u,
    0x5a06bfa7c8226aebu, 0x5d2f08a71faf6a5bu, 0x0cf86f78755970d1u, 0x0132d67880a039eau, 0x3754073003e81b3cu,
    0x8c805eee607992f5u, 0xc940b82470a39112u, 0xc27dc2dfc304bd1au, 0x9f7d34ecb1a49658u, 0xe1dfb4bab9ec42a4u,
    0xb0a9c1691277b2e4u, 0xc42dd89d80ec046bu, 0xb3123dff1564f6c3u, 0xc6977e346c18c751u, 0xd5a8f26434b4803au,
    0x0a1af5ce1dde0f75u, 0xe5d8aec4ddce8f1eu, 0xa6abb6f8ed5ab5d8u, 0x1e70b20ab10987f6u, 0xd8ff0602323792bfu,
    0x8ae817a40ca55ca4u, 0xac13714a3d492d0du, 0x896a9c70b8828cebu, 0x263422026c1cbbaau, 0x57f6a7c68f2b0740u,
    0xbc80ae88d8c934fdu, 0xca368937fb03a041u, 0x1478e809f4931747u, 0x05ddcff3abca611au, 0x9228b33573f37800u,
    0x87b299887616d679u, 0x6b1e6c42e97d97f8u, 0x3cd61fb9c650b242u, 0xc1e2693d8a132250u, 0xc8f1b99a9cf9a281u,
    0xeb3706e6e02a2794u, 0xe2b90cc2f532320bu, 0x0f10201658a5ad4eu, 0xd794d1be87ff31fdu, 0xbd2476316d9b746cu,
    0x8560b6e7a6a38b67u, 0x966713a58fddab04u, 0xcacb6728a2d2e876u, 0xa4800eb0e688f808u, 0x4c3bf16f217243f4u,
    0x16f5dcb2e200c2bfu, 0xfc1fb0468f74c875u, 0x6e225d77f7093a62u, 0x23f0361364216a63u, 0x44bc7e0136fa6029u,
    0x4a6ccea36a0c203eu, 0xfe6f4fc3a9f5fe5eu, 0x7283d61d8efe5ed3u, 0x9d8a4875b0d8cc69u, 0x10847b412bc1eb6fu,
    0x23eb52cbc7db2321u, 0x512e9bbb379a9498u, 0x913993f5fe91e383u, 0x39c0fadb7908fb0fu, 0x63987f3d6e1d9ed5u,
    0x667b10e0582d4480u, 0xcf3e052c0e78d14du, 0xe2e3e4cc1847e2f0u, 0x954bd08dcff3d913u, 0x9c81a345e9f56045u};

TEST_F(ExactDrawing, WalkingFiguresAndRagDollsDrawTheirGoldenVertices) {
    auto vertices = std::make_unique<ArrayVertexBuffer<60000>>();
    vertexBatch.buffer = vertices.get();
    // The figures as the program starts them, whatever earlier tests left.
    game::SetRandState(1);
    vertexBatch.doubleNext = 0;  // the batch carries these across frames and tests
    vertexBatch.lastPosition = Vec4(0, 0, 0, 1);
    for (Creature& c : creatures) std::construct_at(&c);
    for (Vec4& s : separation) s = Vec4(0, 0, 0, 1);
    PlaceFigures();
    std::vector<uint64_t> digests;
    for (int frame = 0; frame < 80; ++frame) {
        if (frame == 60) KillEnemies();
        CreatureFrame(frame, frame >= 60);
        digests.push_back(VertexDigest(vertices->vertices));
    }
    int ragDolls = 0;
    for (const Creature& c : creatures) ragDolls += c.body.physicsActive;
    EXPECT_EQ(ragDolls, 49);
    EXPECT_TRUE(MatchesGoldenSequence(digests, kFrameDigests, [](size_t i) { return "frame " + std::to_string(i + 1); }));
}

}  // namespace
