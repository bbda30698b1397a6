// Installs the recording renderer around each test and gives the batch a
// small CPU buffer, so tests can read back exactly what was written.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "platform/shared/d3d9_recording_device.h"
#include "render/recording_renderer.h"
#include "render/vertex_batch.h"

class RecordingBatchTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(InstallRecordingRenderer(1280, 720, &recording));
        vertexBatch = VertexBatch{};
        UseBuffer(1024);
    }

    void TearDown() override {
        ReleaseResources();
        EXPECT_EQ(RecordingLiveObjects(), 0) << "a recording object leaked or was released twice";
    }

    // Replaces the batch's buffer with one holding `vertices` vertices.
    void UseBuffer(UINT vertices) {
        if (vertexBatch.buffer) vertexBatch.buffer->Release();
        vertexBatch.buffer = nullptr;
        ASSERT_EQ(recording.device->CreateVertexBuffer(vertices * sizeof(BatchVertex), 0, kBatchFvf,
                                                       D3DPOOL_DEFAULT, &vertexBatch.buffer, nullptr),
                  D3D_OK);
    }

    RecordingVertexBuffer* Buffer() const { return static_cast<RecordingVertexBuffer*>(vertexBatch.buffer); }

    BatchVertex Vertex(int index) const {
        BatchVertex v;
        std::memcpy(&v, Buffer()->data() + index * sizeof(BatchVertex), sizeof v);
        return v;
    }

    RecordingRenderer recording;
};
