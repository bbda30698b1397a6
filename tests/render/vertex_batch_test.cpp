// Stitching, doubling and packing as the game draws are pinned by the vertex
// digests; here, the packing's limits and a buffer that is full or missing.
#include <limits>
#include <vector>

#include "support/recording_batch_fixture.h"

namespace {
Vec4 Point(float x, float y, float z) { return Vec4(x, y, z, 1.0f); }

using VertexBatchTest = RecordingBatchTest;
}  // namespace

TEST(PackColour, RoundsHalfUpTruncatesAndClamps) {
    EXPECT_EQ(PackColour(Vec4(0.2f, 0.998f, 0.999f, 0.0f)), 0x0033FEFFu);  // 51.5, 254.99, 255.24 truncated
    EXPECT_EQ(PackColour(Vec4(1.0f, 2.0f, 1e30f, -1e30f)), 0x00FFFFFFu);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(PackColour(Vec4(nan, 1.0f, nan, 1.0f)), 0xFF00FF00u) << "NaN packs as 0";
}

// Neither a full buffer nor a missing one may move lastPosition or the strip end.
TEST_F(VertexBatchTest, AFullBufferDropsVerticesWithoutMovingLastPosition) {
    UseBuffer(3);
    const Vec4 white(1, 1, 1, 1), normal(0, 1, 0, 0);
    vertexBatch.Add(Point(1, 0, 0), white, normal);
    vertexBatch.Add(Point(2, 0, 0), white, normal);
    vertexBatch.doubleNext = 1;
    vertexBatch.Add(Point(3, 0, 0), white, normal);  // the first copy fits, the second does not
    EXPECT_EQ(vertexBatch.doubleNext, 0);
    EXPECT_EQ(Vertex(2).x, 3.0f);
    vertexBatch.Add(Point(4, 0, 0), white, normal);
    vertexBatch.EndStrip();
    EXPECT_EQ(vertexBatch.stripStarts[1], 3);
    EXPECT_EQ(Buffer()->lockDepth, 0) << "no lock left open";

    vertexBatch.buffer->Release();
    vertexBatch.buffer = nullptr;
    vertexBatch.Add(Point(9, 9, 9), white, normal);
    EXPECT_EQ(vertexBatch.count, 3);
    EXPECT_EQ(vertexBatch.lastPosition.x, 3.0f);
}

// AddPiece is EndStrip's closing vertex and then its staged vertices added
// one at a time, the first twice: the same bytes, count, locks, strip end and
// lastPosition, whether the closing vertex is doubled or not, the piece fits,
// or the buffer fills part-way (a vertex that does not fit is dropped, the
// rest tried in turn). Signed zeros and a z that the shift takes to zero
// would show a position copied through arithmetic.
TEST_F(VertexBatchTest, AddPieceWritesWhatTheClosingVertexAndItsAddsWrite) {
    struct Source {
        Vec4 position, normal;
        float u, v;
    };
    const Source sources[4] = {{Vec4(-0.0f, 2, -4, 1), Vec4(0, 1, -0.0f, 0), 0.0f, 0.0f},
                               {Vec4(4, -0.0f, 6, 0.5f), Vec4(1, 0, 0, 0), 0.25f, 1.0f},
                               {Vec4(7, 8, -0.0f, -1), Vec4(0, 0, -1, 0), 0.5f, 0.0f},
                               {Vec4(1e-45f, -1e30f, 3, 2), Vec4(0.6f, -0.8f, 0, 0), 1.0f, 1.0f}};
    constexpr D3DCOLOR kColour = 0x80FF4020;
    StagedVertex staged[4];
    for (int i = 0; i < 4; ++i)
        Stage(staged[i], lanes::Load(sources[i].position), lanes::Load(sources[i].normal), kColour, sources[i].u,
              sources[i].v);
    const Vec4 before(5, -0.0f, -4, 3);
    for (const int n : {4, 1, 0}) {
        for (const UINT capacity : {16u, 6u, 4u, 2u, 1u}) {
            for (const uint8_t doubled : {0, 1}) {
                SCOPED_TRACE(::testing::Message() << n << " staged, capacity " << capacity << ", doubled " << +doubled);
                UseBuffer(capacity);
                vertexBatch.count = 1;  // one vertex already in the buffer
                vertexBatch.doubleNext = doubled;
                vertexBatch.lastPosition = before;
                vertexBatch.Add(before, 0xFF000000u, Vec4(0, 0, 0, 0));
                vertexBatch.doubleNext = 1;
                const int expectedStripEnd = vertexBatch.count;
                for (int i = 0; i < n; ++i) {
                    const float uv[2] = {sources[i].u, sources[i].v};
                    vertexBatch.Add(sources[i].position, kColour, sources[i].normal, uv);
                }
                const int expectedCount = vertexBatch.count;
                const uint8_t expectedDoubleNext = vertexBatch.doubleNext;
                const Vec4 expectedLast = vertexBatch.lastPosition;
                const uint64_t expectedLocks = Buffer()->locks, expectedFailed = Buffer()->failedLocks;
                std::vector<unsigned char> expected(Buffer()->data(), Buffer()->data() + capacity * sizeof(BatchVertex));

                UseBuffer(capacity);
                vertexBatch.count = 1;
                vertexBatch.doubleNext = doubled;
                vertexBatch.lastPosition = before;
                vertexBatch.stripStarts[1] = -1;
                vertexBatch.stripEntryCount = 0;
                vertexBatch.AddPiece(staged, n);
                EXPECT_EQ(vertexBatch.count, expectedCount);
                EXPECT_EQ(vertexBatch.doubleNext, expectedDoubleNext);
                EXPECT_EQ(vertexBatch.stripStarts[1], expectedStripEnd);
                EXPECT_EQ(vertexBatch.stripEntryCount, 2);
                EXPECT_EQ(Buffer()->locks, expectedLocks);
                EXPECT_EQ(Buffer()->failedLocks, expectedFailed);
                EXPECT_EQ(Buffer()->lockDepth, 0);
                EXPECT_EQ(std::memcmp(expected.data(), Buffer()->data(), expected.size()), 0);
                EXPECT_EQ(std::memcmp(&vertexBatch.lastPosition, &expectedLast, sizeof expectedLast), 0);
            }
        }
    }
    // Without a buffer nothing is written and nothing moves but the strip's state.
    vertexBatch.buffer->Release();
    vertexBatch.buffer = nullptr;
    vertexBatch.count = 3;
    vertexBatch.lastPosition = before;
    vertexBatch.AddPiece(staged, 4);
    EXPECT_EQ(vertexBatch.count, 3);
    EXPECT_EQ(vertexBatch.stripStarts[1], 3);
    EXPECT_EQ(vertexBatch.doubleNext, 0);
    EXPECT_EQ(std::memcmp(&vertexBatch.lastPosition, &before, sizeof before), 0);
}
