#include <limits>

#include "support/recording_batch_fixture.h"

namespace {
constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kBlack = 0xFF000000u;

Vec4 Point(float x, float y, float z) { return Vec4(x, y, z, 1.0f); }

// Position (x, y, z + 4) and colour of a stored vertex.
void ExpectVertex(const BatchVertex& v, float x, float y, float z, D3DCOLOR colour) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z + 4.0f);
    EXPECT_EQ(v.colour, colour);
}

using VertexBatchTest = RecordingBatchTest;
}  // namespace

TEST_F(VertexBatchTest, PiecesAreStitchedWithABlackCloseAndADoubledStart) {
    const Vec4 white(1, 1, 1, 1), up(0, 1, 0, 1);
    vertexBatch.Reset();
    for (int i = 0; i < 4; ++i) vertexBatch.Add(Point(float(i), 0, 0), white, up);  // A B C D
    vertexBatch.EndStrip();
    for (int i = 4; i < 8; ++i) vertexBatch.Add(Point(float(i), 0, 0), white, up);  // E F G H
    vertexBatch.EndStrip();

    // A B C D D' E E F G H H'
    const float xs[] = {0, 1, 2, 3, 3, 4, 4, 5, 6, 7, 7};
    ASSERT_EQ(vertexBatch.count, 11);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        ExpectVertex(Vertex(i), xs[i], 0, 0, i == 4 || i == 10 ? kBlack : kWhite);
    }
    // The closing copy carries no normal and no texture coordinates.
    EXPECT_EQ(Vertex(10).ny, 0.0f);
    EXPECT_EQ(Vertex(10).u, 0.0f);
    EXPECT_EQ(vertexBatch.stripEntryCount, 2);
    EXPECT_EQ(vertexBatch.stripStarts[1], 11);
}

// The first EndStrip finds doubleNext clear and sets it, so the second puts the copy in twice.
TEST_F(VertexBatchTest, EndStripAfterResetClosesWithTheEarlierLastPosition) {
    vertexBatch.Add(Point(5, 6, 7), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    for (int copies : {1, 2}) {
        SCOPED_TRACE(copies);
        vertexBatch.Reset();
        vertexBatch.EndStrip();
        ASSERT_EQ(vertexBatch.count, copies);
        for (int i = 0; i < copies; ++i) ExpectVertex(Vertex(i), 5, 6, 7, kBlack);
        EXPECT_EQ(vertexBatch.stripStarts[1], copies);
        EXPECT_EQ(vertexBatch.doubleNext, 1);
    }
}

TEST_F(VertexBatchTest, StoredFieldsShiftZButLastPositionDoesNot) {
    const float uv[2] = {0.25f, 5.0f};
    vertexBatch.Add(Vec4(1.5f, -1.4f, 0.0f, 0.75f), Vec4(0.5f, 1.0f, -0.5f, 2.0f), Vec4(0.0f, 0.0f, -1.0f, 9.0f), uv);
    vertexBatch.Add(Vec4(-2.0f, 3.0f, -4.0f, 1.0f), Vec4(0, 0, 0, 0), Vec4(1, 0, 0, 0));
    const BatchVertex first = Vertex(0);
    EXPECT_EQ(std::make_tuple(first.z, first.nz, first.u, first.v), std::make_tuple(4.0f, -1.0f, 0.25f, 5.0f));
    EXPECT_EQ(first.colour, 0xFF80FF00u) << "ARGB: alpha 2.0 -> 255, red 0.5 -> 128, green 1 -> 255, blue -0.5 -> 0";
    EXPECT_EQ(Vertex(1).u, 0.0f) << "no texture coordinates given";
    EXPECT_EQ(std::make_pair(vertexBatch.lastPosition.z, vertexBatch.lastPosition.w), std::make_pair(-4.0f, 1.0f));
}

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
    ExpectVertex(Vertex(2), 3, 0, 0, kWhite);
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
