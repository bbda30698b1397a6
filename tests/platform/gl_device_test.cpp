// The device under Xvfb: the clear colour, render targets, the vertex
// buffer's bounds and growth, and object lifetime. (Depth and vertex colours
// show in the whole-frame pixel hashes.)
#include <gtest/gtest.h>

#include "platform/shared/d3d9_live_objects.h"
#include "support/gl_test_support.h"

namespace {
// A strip covering the clip-space rectangle [x0, x1] × [y0, y1] at depth z.
void WriteQuad(IDirect3DVertexBuffer9* buffer, UINT first, float x0, float y0, float x1, float y1, float z,
               D3DCOLOR colour) {
    WriteVertices(buffer, first,
                  {{x0, y1, z, 0, 0, 0, colour, 0, 0},
                   {x1, y1, z, 0, 0, 0, colour, 1, 0},
                   {x0, y0, z, 0, 0, 0, colour, 0, 1},
                   {x1, y0, z, 0, 0, 0, colour, 1, 1}});
}

class DeviceTest : public GlTest {
protected:
    void TearDown() override {
        for (IUnknown* object : std::initializer_list<IUnknown*>{targetSurface, target})
            if (object) object->Release();
        GlTest::TearDown();
    }
    void DrawQuad(UINT first) { ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, first, 2)); }

    IDirect3DTexture9* target = nullptr;
    IDirect3DSurface9* targetSurface = nullptr;
};
}  // namespace

// The game clears with equal red and blue, so a swapped clear colour shows only here.
TEST_F(DeviceTest, ClearReachesTheScreenAndAStencilClearIsRefused) {
    ASSERT_EQ(D3D_OK, device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(40, 80, 160), 1.0f, 0));
    EXPECT_TRUE(ScreenIs(device, 319, 239, 0x2850a0));
    EXPECT_EQ(D3DERR_INVALIDCALL, device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0)) << "no stencil buffer";
}

TEST_F(DeviceTest, BackBufferAndRenderTargetHaveTheirOwnSizes) {
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(D3D_OK, device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    back->Release();
    EXPECT_EQ(std::make_pair(desc.Width, desc.Height), std::make_pair(320u, 240u));
    ASSERT_EQ(D3D_OK, device->CreateTexture(64, 48, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target,
                                            nullptr));
    ASSERT_EQ(D3D_OK, target->GetSurfaceLevel(0, &targetSurface));
    ASSERT_EQ(D3D_OK, device->SetRenderTarget(0, targetSurface));
    targetSurface->GetDesc(&desc);
    EXPECT_EQ(std::make_pair(desc.Width, desc.Height), std::make_pair(64u, 48u));
    IDirect3DSurface9* none = reinterpret_cast<IDirect3DSurface9*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, target->GetSurfaceLevel(1, &none));
    EXPECT_EQ(nullptr, none);
    // Drawing into the render target covers its own size, not the window's.
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    WriteQuad(buffer, 0, 0, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(255, 255, 0));
    DrawQuad(0);
    EXPECT_EQ(0u, PixelAt(device, 31, 24));
    EXPECT_TRUE(CloseColour(0xffffff00, PixelAt(device, 32, 24)));
    EXPECT_TRUE(CloseColour(0xffffff00, PixelAt(device, 63, 47)));
}

TEST_F(DeviceTest, LocksAndDrawsOutsideTheBufferFail) {
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, buffer->Lock(36 * 63 + 1, 36, &data, 0)) << "one byte past the end";
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(D3DERR_INVALIDCALL, buffer->Lock(36, 0xffffffffu, &data, 0)) << "offset + size must not wrap";
    ASSERT_EQ(D3D_OK, buffer->Lock(36 * 63, 36, &data, 0));
    ASSERT_NE(nullptr, data);
    buffer->Unlock();
    ASSERT_EQ(D3D_OK, buffer->Lock(0, 0, &data, 0)) << "size 0 locks the whole buffer";
    buffer->Unlock();
    // A draw that would read past the end fails instead of reading garbage.
    EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 62, 2));
    EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0xffffffffu));
    EXPECT_EQ(D3DERR_INVALIDCALL, device->DrawPrimitive(D3DPT_TRIANGLELIST, 2, 21));
    EXPECT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 21));
}

// The GL store grows as drawing reaches further into a large buffer: what was
// written before the growth must survive it, and rewrites of a drawn range
// must reach the next draw.
TEST_F(DeviceTest, DrawsFarIntoALargeBufferSeeEverythingWritten) {
    IDirect3DVertexBuffer9* large = nullptr;
    ASSERT_EQ(D3D_OK, device->CreateVertexBuffer(36 * 2000000, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                 &large, nullptr));
    device->SetStreamSource(0, large, 0, 36);
    WriteQuad(large, 0, -1, -1, 0, 1, 0.5f, D3DCOLOR_XRGB(255, 0, 0));
    DrawQuad(0);
    const UINT far = 1500000;  // 54 MB in: well past the first store
    WriteQuad(large, far, 0, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(0, 255, 0));
    DrawQuad(far);
    DrawQuad(0);
    EXPECT_TRUE(ScreenIs(device, 240, 120, 0x00ff00));
    EXPECT_TRUE(ScreenIs(device, 80, 120, 0xff0000));
    WriteQuad(large, 0, -1, -1, 0, 1, 0.5f, D3DCOLOR_XRGB(0, 0, 255));
    DrawQuad(0);
    EXPECT_TRUE(ScreenIs(device, 80, 120, 0x0000ff));
    device->SetStreamSource(0, buffer, 0, 36);
    large->Release();
}

TEST(DeviceLifetime, ReleasingEverythingLeavesNoLayerObject) {
    int before = LiveLayerObjects();
    {
        TestDevice gl;
        ASSERT_NE(nullptr, gl.device);
        IDirect3DTexture9* texture = nullptr;
        gl.device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
        IDirect3DSurface9* surface = nullptr;
        texture->GetSurfaceLevel(0, &surface);
        gl.device->SetTexture(0, texture);
        gl.device->SetRenderTarget(0, surface);
        EXPECT_EQ(before + 3, LiveLayerObjects());
        // The bindings and the surface keep the texture alive past its own release.
        texture->Release();
        surface->Release();
        EXPECT_EQ(before + 3, LiveLayerObjects());
    }
    EXPECT_EQ(before, LiveLayerObjects());
}
