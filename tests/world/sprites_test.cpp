#include "world/sprites.h"

#include "support/recording_batch_fixture.h"

namespace {
using SpriteTest = RecordingBatchTest;
}  // namespace

// A view turned about y: right axis (V11, V21, V31) = (0.6, 0, -0.8), up (V12, V22, V32) = (0, 1, 0).
// Its rows would give a mirrored right axis, and its translation must not matter.
TEST_F(SpriteTest, CornersFollowTheViewColumnsNotItsRows) {
    const D3DMATRIX view = {{{0.6f, 0, 0.8f, 0, 0, 1, 0, 0, -0.8f, 0, 0.6f, 0, 7, -3, 11, 1}}};
    recording.device->SetTransform(D3DTS_VIEW, &view);
    AddSprite(Vec4(2, 3, 5, 0.5f), Vec4(1, 1, 1, 1), 2.0f);
    const float corners[6][5] = {// x, y, z + 4, u, v
                                 {0.8f, 5, 10.6f, 0, 0}, {3.2f, 5, 7.4f, 1, 0},  {0.8f, 1, 10.6f, 0, 1},
                                 {3.2f, 5, 7.4f, 1, 0},  {0.8f, 1, 10.6f, 0, 1}, {3.2f, 1, 7.4f, 1, 1}};
    ASSERT_EQ(vertexBatch.count, 6);
    for (int i = 0; i < 6; ++i) {
        const BatchVertex v = Vertex(i);
        const float got[5] = {v.x, v.y, v.z, v.u, v.v};
        for (int f = 0; f < 5; ++f) EXPECT_FLOAT_EQ(got[f], corners[i][f]) << "corner " << i << " field " << f;
    }
    // The last corner, unshifted, with the sprite's w.
    EXPECT_FLOAT_EQ(vertexBatch.lastPosition.x, 3.2f);
    EXPECT_FLOAT_EQ(vertexBatch.lastPosition.z, 3.4f);
    EXPECT_EQ(vertexBatch.lastPosition.w, 0.5f);
}

TEST_F(SpriteTest, ColourIsOpaqueAndClampedAndTheStripStateIsKept) {
    vertexBatch.Add(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    vertexBatch.EndStrip();
    AddSprite(Vec4(0, 0, 0, 1), Vec4(1.0f, 1.0f, 0.0f, 0.0f), 1.0f);
    AddSprite(Vec4(0, 0, 0, 1), Vec4(2.0f, -1.0f, 0.5f, 0.3f), 1.0f);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Vertex(2 + i).colour, 0xFFFFFF00u);
        EXPECT_EQ(Vertex(8 + i).colour, 0xFFFF0080u);
    }
    EXPECT_EQ(vertexBatch.count, 14);
    EXPECT_EQ(vertexBatch.doubleNext, 1);
    EXPECT_EQ(vertexBatch.stripEntryCount, 2);
    EXPECT_EQ(vertexBatch.stripStarts[1], 2) << "the piece closed before the sprites";
}

TEST_F(SpriteTest, AFailedLockStopsTheSpriteAndKeepsLastPosition) {
    UseBuffer(4);
    vertexBatch.Add(Vec4(9, 8, 7, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    AddSprite(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1), 1.0f);
    EXPECT_EQ(vertexBatch.count, 4) << "three corners fit and stay counted";
    EXPECT_EQ(Vertex(3).x, -1.0f);
    EXPECT_EQ(Vertex(3).y, -1.0f);
    EXPECT_EQ(vertexBatch.lastPosition.x, 9.0f);
    EXPECT_EQ(Buffer()->failedLocks, 1u) << "stops at the first failure";
    EXPECT_EQ(Buffer()->lockDepth, 0);
}

TEST_F(SpriteTest, CreateBatchBufferMakesTheTwoMillionVertexBuffer) {
    vertexBatch.buffer->Release();
    vertexBatch.buffer = nullptr;
    recording.device->createVertexBufferResult = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(CreateBatchBuffer(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(vertexBatch.buffer, nullptr);

    recording.device->createVertexBufferResult = D3D_OK;
    ASSERT_EQ(CreateBatchBuffer(), 1);
    vertexBatch.count = 1999999;  // the last vertex fits, the one after does not
    for (int i = 0; i < 2; ++i) vertexBatch.Add(Vec4(1, 2, 3, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    EXPECT_EQ(vertexBatch.count, 2000000);
}
