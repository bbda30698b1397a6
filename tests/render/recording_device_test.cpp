#include <string>

#include "recording_batch_fixture.h"

#include "render/device_resources.h"

namespace {
using RecordingDeviceTest = RecordingBatchTest;
}  // namespace

TEST_F(RecordingDeviceTest, LocksOutsideTheBufferFailWithoutAPointer) {
    UseBuffer(2);  // 72 bytes
    IDirect3DVertexBuffer9* buffer = vertexBatch.buffer;
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(buffer->Lock(72, 36, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(buffer->Lock(40, 36, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(0xFFFFFFF0u, 0x20, &data, 0), D3DERR_INVALIDCALL) << "offset + size must not wrap";
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL) << "nothing is locked";
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(data, Buffer()->data());
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
}

TEST_F(RecordingDeviceTest, DrawsReadingPastTheStreamAreRefused) {
    UseBuffer(10);
    IDirect3DDevice9* device = recording.device;
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 1), D3DERR_INVALIDCALL) << "no stream bound";
    device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 8), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 8), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0xFFFFFFFFu), D3DERR_INVALIDCALL);
    EXPECT_EQ(recording.device->draws, 1u);
    EXPECT_EQ(recording.device->primitives, 8u);
}

TEST_F(RecordingDeviceTest, TheLogStaysBoundedAndClearsPerFrame) {
    IDirect3DDevice9* device = recording.device;
    device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
    recording.device->ClearLog();
    for (UINT i = 0; i < kRecordingLogCapacity + 10; ++i) device->SetRenderState(D3DRS_ZFUNC, i);
    for (UINT i = 0; i < kRecordingDrawCapacity + 10; ++i) device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    EXPECT_EQ(recording.device->logSize(), kRecordingLogCapacity);
    EXPECT_EQ(recording.device->drawSize(), kRecordingDrawCapacity);
    EXPECT_EQ(recording.device->droppedCalls, 10u + kRecordingDrawCapacity + 10u);
    EXPECT_EQ(recording.device->logEntry(5).b, 5u);
    EXPECT_EQ(recording.device->renderState(D3DRS_ZFUNC), kRecordingLogCapacity + 9) << "state still follows";
    EXPECT_EQ(recording.device->draws, uint64_t{kRecordingDrawCapacity} + 10u) << "counters still count";
    recording.device->ClearLog();
    EXPECT_EQ(recording.device->logSize(), 0u);
    EXPECT_EQ(recording.device->drawSize(), 0u);
}

TEST_F(RecordingDeviceTest, InstalledRendererLooksLikeAStartedGame) {
    RecordingDevice* device = recording.device;
    EXPECT_EQ(device->renderState(D3DRS_CULLMODE), DWORD{D3DCULL_NONE});
    EXPECT_EQ(device->renderState(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(device->texture(0), renderer.particleCheapTexture);
    EXPECT_EQ(device->stageState(0, D3DTSS_COLOROP), DWORD{D3DTOP_MODULATE});
    EXPECT_EQ(recording.effect->parameter("RenderTargetTexture")->texture, renderer.fullTargetA.texture);
    EXPECT_EQ(recording.effect->parameter("RenderTargetWidth")->values[0], 1280.0f);
    EXPECT_EQ(renderer.worldViewProjectionHandle, recording.effect->GetParameterByName(nullptr, "mWorldViewProjection"));
    D3DSURFACE_DESC desc = {};
    renderer.smallTarget.surface->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(static_cast<RecordingTexture*>(renderer.tilesTexture)->label(), std::string("tiles.bmp"));
    EXPECT_FALSE(InstallRecordingRenderer(640, 480, nullptr)) << "a second install would leak the first";
}

TEST_F(RecordingDeviceTest, EffectRefusesUnknownNamesWrongKindsAndMisorderedPasses) {
    ID3DXEffect* effect = renderer.effect;
    EXPECT_EQ(effect->GetParameterByName(nullptr, "NoSuchValue"), nullptr);
    EXPECT_EQ(effect->SetFloat("RenderTargetTexture", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTechnique("NoSuchTechnique"), D3DERR_INVALIDCALL);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "WorldLighting");
    std::string name = "MagicValue";  // a name string works where a handle does
    EXPECT_EQ(effect->SetFloat(name.c_str(), 0.059328f), D3D_OK);
    EXPECT_EQ(recording.effect->parameter("MagicValue")->values[0], 0.059328f);

    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);
    UINT passes = 0;
    EXPECT_EQ(effect->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 1u);
    EXPECT_EQ(effect->BeginPass(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(recording.effect->misorderedCalls, 2u);
}
