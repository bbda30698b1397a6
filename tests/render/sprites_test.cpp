#include "world/sprites.h"

#include "recording_batch_fixture.h"

namespace {
using SpriteTest = RecordingBatchTest;

// A view turned about y (cosine c, sine s) whose translation must not matter.
void SetView(RecordingDevice* device, float c, float s) {
    D3DMATRIX view = {};
    view._11 = c, view._13 = s;
    view._22 = 1.0f;
    view._31 = -s, view._33 = c;
    view._41 = 7.0f, view._42 = -3.0f, view._43 = 11.0f, view._44 = 1.0f;  // translation is ignored
    device->SetTransform(D3DTS_VIEW, &view);
}
}  // namespace

TEST_F(SpriteTest, CornersFollowTheViewColumnsNotItsRows) {
    const struct {
        float c, s;
        Vec4 position;
        float size;
        float corners[6][5];  // x, y, z, u, v
        Vec4 lastPosition;
    } cases[] = {
        {1, 0, Vec4(0, 0, 0, 1), 1.0f,
         {{-1, 1, 4, 0, 0}, {1, 1, 4, 1, 0}, {-1, -1, 4, 0, 1}, {1, 1, 4, 1, 0}, {-1, -1, 4, 0, 1}, {1, -1, 4, 1, 1}},
         Vec4(1, -1, 0, 1)},
        // Right axis (V11, V21, V31) = (0.6, 0, -0.8); up (V12, V22, V32) = (0, 1, 0).
        {0.6f, 0.8f, Vec4(2, 3, 5, 0.5f), 2.0f,
         {{0.8f, 5, 10.6f, 0, 0}, {3.2f, 5, 7.4f, 1, 0}, {0.8f, 1, 10.6f, 0, 1}, {3.2f, 5, 7.4f, 1, 0},
          {0.8f, 1, 10.6f, 0, 1}, {3.2f, 1, 7.4f, 1, 1}},
         Vec4(3.2f, 1, 3.4f, 0.5f)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        vertexBatch.count = 0;
        SetView(recording.device, c.c, c.s);
        AddSprite(c.position, Vec4(1, 1, 1, 1), c.size);
        ASSERT_EQ(vertexBatch.count, 6);
        for (int i = 0; i < 6; ++i) {
            const BatchVertex v = Vertex(i);
            const float got[5] = {v.x, v.y, v.z, v.u, v.v};
            for (int f = 0; f < 5; ++f) EXPECT_FLOAT_EQ(got[f], c.corners[i][f]) << "corner " << i << " field " << f;
        }
        EXPECT_FLOAT_EQ(vertexBatch.lastPosition.x, c.lastPosition.x);
        EXPECT_FLOAT_EQ(vertexBatch.lastPosition.y, c.lastPosition.y);
        EXPECT_FLOAT_EQ(vertexBatch.lastPosition.z, c.lastPosition.z);
        EXPECT_EQ(vertexBatch.lastPosition.w, c.lastPosition.w);
    }
}

TEST_F(SpriteTest, ColourIsOpaqueAndClampedAndTheStripStateIsKept) {
    vertexBatch.Add(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    vertexBatch.EndStrip();
    const int32_t stripEnd = vertexBatch.stripStarts[1];
    AddSprite(Vec4(0, 0, 0, 1), Vec4(1.0f, 1.0f, 0.0f, 0.0f), 1.0f);
    AddSprite(Vec4(0, 0, 0, 1), Vec4(2.0f, -1.0f, 0.5f, 0.3f), 1.0f);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Vertex(2 + i).colour, 0xFFFFFF00u);
        EXPECT_EQ(Vertex(8 + i).colour, 0xFFFF0080u);
    }
    EXPECT_EQ(vertexBatch.count, 14);
    EXPECT_EQ(vertexBatch.doubleNext, 1);
    EXPECT_EQ(vertexBatch.stripEntryCount, 2);
    EXPECT_EQ(vertexBatch.stripStarts[1], stripEnd);
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
    ASSERT_NE(vertexBatch.buffer, nullptr);

    vertexBatch.count = 1999999;  // the last vertex fits, the one after does not
    vertexBatch.Add(Vec4(1, 2, 3, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    EXPECT_EQ(vertexBatch.count, 2000000);
    EXPECT_EQ(Vertex(1999999).z, 7.0f);
    vertexBatch.Add(Vec4(1, 2, 3, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    EXPECT_EQ(vertexBatch.count, 2000000);
}
