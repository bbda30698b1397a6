// Stitching, doubling and packing as the game draws are pinned by the vertex
// digests; here, the packing's limits and a buffer that is full or missing.
#include <limits>

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

// AddPairs is its pairs of Adds: the same bytes, count, locks and
// lastPosition, whether the run starts doubled, fits, or overflows the buffer
// part-way (a vertex that does not fit is dropped, the rest tried in turn).
TEST_F(VertexBatchTest, AddPairsWritesWhatItsPairsOfAddsWrite) {
    const Vec4 nearEnds[3] = {Point(1, 2, 3), Point(4, 5, 6), Point(7, 8, -0.0f)};
    const Vec4 farEnds[3] = {Point(-1, -2, -3), Point(-4, -5, -6), Point(-7, -8, -9)};
    const Vec4 normals[3] = {Vec4(0, 1, 0, 0), Vec4(1, 0, 0, 0), Vec4(0, 0, -1, 0)};
    const float us[3] = {0.0f, 0.25f, 0.5f};
    constexpr D3DCOLOR kColour = 0x80FF4020;
    for (UINT capacity : {16u, 7u, 3u}) {
        for (uint8_t doubled : {0, 1}) {
            BatchVertex expected[16];
            UseBuffer(capacity);
            vertexBatch.count = 1;  // one vertex already in the buffer
            vertexBatch.doubleNext = doubled;
            for (int i = 0; i < 3; ++i) {
                float uv[2] = {us[i], 0.0f};
                vertexBatch.Add(nearEnds[i], kColour, normals[i], uv);
                uv[1] = 1.0f;
                vertexBatch.Add(farEnds[i], kColour, normals[i], uv);
            }
            const int expectedCount = vertexBatch.count;
            const Vec4 expectedLast = vertexBatch.lastPosition;
            const uint64_t expectedLocks = Buffer()->locks, expectedFailed = Buffer()->failedLocks;
            std::memcpy(expected, Buffer()->data(), capacity * sizeof(BatchVertex));

            UseBuffer(capacity);
            vertexBatch.count = 1;
            vertexBatch.doubleNext = doubled;
            vertexBatch.lastPosition = Point(0, 0, 0);
            vertexBatch.AddPairs(nearEnds, farEnds, normals, us, 3, kColour);
            EXPECT_EQ(vertexBatch.count, expectedCount) << capacity;
            EXPECT_EQ(vertexBatch.doubleNext, 0);
            EXPECT_EQ(Buffer()->locks, expectedLocks) << capacity;
            EXPECT_EQ(Buffer()->failedLocks, expectedFailed) << capacity;
            EXPECT_EQ(Buffer()->lockDepth, 0) << capacity;
            EXPECT_EQ(std::memcmp(expected, Buffer()->data(), capacity * sizeof(BatchVertex)), 0) << capacity;
            EXPECT_EQ(std::memcmp(&vertexBatch.lastPosition, &expectedLast, sizeof expectedLast), 0) << capacity;
        }
    }
    // A full buffer before the run leaves lastPosition where it was.
    UseBuffer(1);
    vertexBatch.count = 1;
    vertexBatch.lastPosition = Point(9, 9, 9);
    vertexBatch.AddPairs(nearEnds, farEnds, normals, us, 3, kColour);
    EXPECT_EQ(vertexBatch.count, 1);
    EXPECT_EQ(vertexBatch.lastPosition.x, 9.0f);
}
