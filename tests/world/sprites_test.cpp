#include "world/sprites.h"

#include "support/recording_batch_fixture.h"

namespace {
using SpriteTest = RecordingBatchTest;
}  // namespace

// The game's camera never turns about y, so there a view's rows and columns
// give the same right axis and the pixel hashes cannot tell them apart.
TEST_F(SpriteTest, TheRightAxisIsTheViewsFirstColumnNotItsRow) {
    const D3DMATRIX view = {{{0.6f, 0, 0.8f, 0, 0, 1, 0, 0, -0.8f, 0, 0.6f, 0, 7, -3, 11, 1}}};
    recording.device->SetTransform(D3DTS_VIEW, &view);
    AddSprite(Vec4(2, 3, 5, 0.5f), Vec4(1, 1, 1, 1), 2.0f);
    ASSERT_EQ(vertexBatch.count, 6);
    EXPECT_FLOAT_EQ(Vertex(1).x, 3.2f);  // (2, 5) + 2 (0.6, -0.8), z shifted by 4
    EXPECT_FLOAT_EQ(Vertex(1).z, 7.4f);
}

// Additive blending ignores alpha, so the pixel hashes cannot see it.
TEST_F(SpriteTest, ColourIsOpaqueAndClamped) {
    AddSprite(Vec4(0, 0, 0, 1), Vec4(1.0f, 1.0f, 0.0f, 0.0f), 1.0f);
    AddSprite(Vec4(0, 0, 0, 1), Vec4(2.0f, -1.0f, 0.5f, 0.3f), 1.0f);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Vertex(i).colour, 0xFFFFFF00u);
        EXPECT_EQ(Vertex(6 + i).colour, 0xFFFF0080u);
    }
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
