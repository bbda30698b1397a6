#include "support/recording_batch_fixture.h"

namespace {
using RecordingDeviceTest = RecordingBatchTest;
}  // namespace

TEST_F(RecordingDeviceTest, LocksAndDrawsOutsideTheBufferAreRefused) {
    UseBuffer(2);  // 72 bytes
    IDirect3DVertexBuffer9* buffer = vertexBatch.buffer;
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(buffer->Lock(40, 36, &data, 0), D3DERR_INVALIDCALL) << "ends 4 bytes past the end";
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(buffer->Lock(0xFFFFFFF0u, 0x20, &data, 0), D3DERR_INVALIDCALL) << "offset + size must not wrap";
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL) << "nothing is locked";

    IDirect3DDevice9* device = recording.device;
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 1), D3DERR_INVALIDCALL) << "no stream bound";
    device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL) << "reads past the end";
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0xFFFFFFFFu), D3DERR_INVALIDCALL);
    EXPECT_EQ(recording.device->primitives, 0u);
}

TEST_F(RecordingDeviceTest, TheLogStaysBoundedAndClearsPerFrame) {
    IDirect3DDevice9* device = recording.device;
    device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
    recording.device->ClearLog();
    for (UINT i = 0; i < kRecordingLogCapacity + 10; ++i) device->SetRenderState(D3DRS_ZFUNC, i);
    for (UINT i = 0; i < kRecordingDrawCapacity + 10; ++i) device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    EXPECT_EQ(std::make_pair(recording.device->logSize(), recording.device->drawSize()),
              std::make_pair(kRecordingLogCapacity, kRecordingDrawCapacity));
    EXPECT_EQ(recording.device->droppedCalls, 10u + kRecordingDrawCapacity + 10u);
    EXPECT_EQ(recording.device->renderState(D3DRS_ZFUNC), kRecordingLogCapacity + 9) << "state still follows";
    EXPECT_EQ(recording.device->draws, uint64_t{kRecordingDrawCapacity} + 10u) << "counters still count";
    recording.device->ClearLog();
    EXPECT_EQ(std::make_pair(recording.device->logSize(), recording.device->drawSize()), std::make_pair(0u, 0u));
}
