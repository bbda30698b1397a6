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
