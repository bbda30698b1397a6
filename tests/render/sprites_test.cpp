#include "world/sprites.h"

#include "recording_batch_fixture.h"

namespace {
using SpriteTest = RecordingBatchTest;

struct Corner {
    float x, y, z, u, v;
};

void ExpectCorners(const RecordingBatchTest& test, int first, const Corner (&corners)[6]) {
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        BatchVertex v = test.Vertex(first + i);
        EXPECT_FLOAT_EQ(v.x, corners[i].x);
        EXPECT_FLOAT_EQ(v.y, corners[i].y);
        EXPECT_FLOAT_EQ(v.z, corners[i].z);
        EXPECT_EQ(v.u, corners[i].u);
        EXPECT_EQ(v.v, corners[i].v);
    }
}

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

TEST_F(SpriteTest, IdentityViewGivesTheSquareAroundThePosition) {
    AddSprite(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1), 1.0f);
    ASSERT_EQ(vertexBatch.count, 6);
    ExpectCorners(*this, 0,
                  {{-1, 1, 4, 0, 0}, {1, 1, 4, 1, 0}, {-1, -1, 4, 0, 1}, {1, 1, 4, 1, 0}, {-1, -1, 4, 0, 1},
                   {1, -1, 4, 1, 1}});
    EXPECT_EQ(vertexBatch.lastPosition.x, 1.0f);
    EXPECT_EQ(vertexBatch.lastPosition.y, -1.0f);
    EXPECT_EQ(vertexBatch.lastPosition.z, 0.0f);
    EXPECT_EQ(vertexBatch.lastPosition.w, 1.0f);
    EXPECT_EQ(Buffer()->locks, 6u);
    EXPECT_EQ(Buffer()->lastLockFlags, 0u);
}

TEST_F(SpriteTest, CornersFollowTheViewColumnsNotItsRows) {
    SetView(recording.device, 0.6f, 0.8f);
    // Right axis (V11, V21, V31) = (0.6, 0, -0.8); up (V12, V22, V32) = (0, 1, 0); half-size 2.
    AddSprite(Vec4(2, 3, 5, 0.5f), Vec4(1, 1, 1, 1), 2.0f);
    ExpectCorners(*this, 0,
                  {{0.8f, 5, 10.6f, 0, 0}, {3.2f, 5, 7.4f, 1, 0}, {0.8f, 1, 10.6f, 0, 1}, {3.2f, 5, 7.4f, 1, 0},
                   {0.8f, 1, 10.6f, 0, 1}, {3.2f, 1, 7.4f, 1, 1}});
    EXPECT_FLOAT_EQ(vertexBatch.lastPosition.x, 3.2f);
    EXPECT_FLOAT_EQ(vertexBatch.lastPosition.z, 3.4f);
    EXPECT_EQ(vertexBatch.lastPosition.w, 0.5f);
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
    D3DVERTEXBUFFER_DESC desc = {};
    vertexBatch.buffer->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 72000000u);
    EXPECT_EQ(desc.Usage, 0u);
    EXPECT_EQ(desc.FVF, D3DFVF_XYZ | D3DFVF_DIFFUSE);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);

    vertexBatch.count = 1999999;  // the last vertex fits, the one after does not
    vertexBatch.Add(Vec4(1, 2, 3, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    EXPECT_EQ(vertexBatch.count, 2000000);
    EXPECT_EQ(Vertex(1999999).z, 7.0f);
    vertexBatch.Add(Vec4(1, 2, 3, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    EXPECT_EQ(vertexBatch.count, 2000000);
}
