// The device under Xvfb: clearing, drawing through the fixed-function path,
// depth testing, vertex colours, render targets, and the vertex buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "gl_test_window.h"
#include "platform/d3d9_live_objects.h"
#include "platform/d3dx9.h"
#include "test_files.h"

namespace {
struct Vertex {
    float x, y, z, nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(Vertex) == 36);
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// A strip covering the clip-space rectangle [x0, x1] × [y0, y1] at depth z.
void WriteQuad(IDirect3DVertexBuffer9* buffer, UINT first, float x0, float y0, float x1, float y1, float z,
               D3DCOLOR colour) {
    const Vertex corners[4] = {{x0, y1, z, 0, 0, 0, colour, 0, 0},
                               {x1, y1, z, 0, 0, 0, colour, 1, 0},
                               {x0, y0, z, 0, 0, 0, colour, 0, 1},
                               {x1, y0, z, 0, 0, 0, colour, 1, 1}};
    for (UINT i = 0; i < 4; ++i) {
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, buffer->Lock((first + i) * 36, 36, &data, 0));
        std::memcpy(data, &corners[i], 36);
        buffer->Unlock();
    }
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, gl.device) << "no GL 3.3 core device (run under xvfb-run)";
        device = gl.device;
        ASSERT_EQ(D3D_OK, device->CreateVertexBuffer(36 * 64, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                     &buffer, nullptr));
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetFVF(kFvf);
        device->SetStreamSource(0, buffer, 0, 36);
    }
    void TearDown() override {
        if (device) device->SetStreamSource(0, nullptr, 0, 0);
        if (buffer) buffer->Release();
    }
    void DrawQuad(UINT first) { ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, first, 2)); }

    TestDevice gl;
    IDirect3DDevice9* device = nullptr;
    IDirect3DVertexBuffer9* buffer = nullptr;
};
}  // namespace

TEST_F(DeviceTest, ClearFillsTheBackBufferWithTheColour) {
    ASSERT_EQ(D3D_OK, device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(40, 80, 160), 1.0f, 0));
    EXPECT_TRUE(CloseColour(0xff2850a0, PixelAt(device, 0, 0) | 0xff000000));
    EXPECT_TRUE(CloseColour(0xff2850a0, PixelAt(device, 319, 239) | 0xff000000));
    EXPECT_EQ(D3DERR_INVALIDCALL, device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0)) << "no stencil buffer";
}

TEST_F(DeviceTest, VertexColourReachesTheScreenAsWrittenWithoutATexture) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    WriteQuad(buffer, 0, -1, -1, 0, 1, 0.5f, D3DCOLOR_ARGB(255, 200, 100, 30));
    WriteQuad(buffer, 4, 0, -1, 1, 1, 0.5f, D3DCOLOR_ARGB(255, 10, 220, 130));
    ASSERT_EQ(D3D_OK, device->BeginScene());
    DrawQuad(0);
    DrawQuad(4);
    ASSERT_EQ(D3D_OK, device->EndScene());
    EXPECT_TRUE(CloseColour(0xffc8641e, PixelAt(device, 80, 120) | 0xff000000));
    EXPECT_TRUE(CloseColour(0xff0adc82, PixelAt(device, 240, 120) | 0xff000000));
}

TEST_F(DeviceTest, DepthTestKeepsTheNearerQuadUntilDepthIsDisabled) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.2f, D3DCOLOR_XRGB(255, 0, 0));
    WriteQuad(buffer, 4, -1, -1, 1, 1, 0.6f, D3DCOLOR_XRGB(0, 255, 0));
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    DrawQuad(0);
    DrawQuad(4);
    EXPECT_TRUE(CloseColour(0xffff0000, PixelAt(device, 160, 120) | 0xff000000));
    // Depth beyond the far plane (z > 1 after the divide) is clipped away.
    WriteQuad(buffer, 8, -1, -1, 1, 1, 1.5f, D3DCOLOR_XRGB(0, 0, 255));
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    DrawQuad(8);
    EXPECT_TRUE(CloseColour(0xffff0000, PixelAt(device, 160, 120) | 0xff000000));
    DrawQuad(4);
    EXPECT_TRUE(CloseColour(0xff00ff00, PixelAt(device, 160, 120) | 0xff000000));
}

TEST_F(DeviceTest, BlendingUsesTheVertexAlpha) {
    IDirect3DTexture9* target = nullptr;
    IDirect3DSurface9 *surface = nullptr, *back = nullptr;
    ASSERT_EQ(D3D_OK, device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                            &target, nullptr));
    target->GetSurfaceLevel(0, &surface);
    device->GetRenderTarget(0, &back);
    ASSERT_EQ(D3D_OK, device->SetRenderTarget(0, surface));
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 200), 1.0f, 0);
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.5f, D3DCOLOR_ARGB(64, 255, 255, 255));
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawQuad(0);
    // 64/255 of white over 191/255 of blue; alpha blends the same way.
    EXPECT_TRUE(CloseColour(D3DCOLOR_ARGB(207, 64, 64, 214), PixelAt(device, 32, 32), 3));
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    WriteQuad(buffer, 4, -1, -1, 1, 1, 0.5f, D3DCOLOR_ARGB(0, 10, 20, 30));
    DrawQuad(4);
    EXPECT_TRUE(CloseColour(D3DCOLOR_ARGB(207, 74, 84, 244), PixelAt(device, 32, 32), 3));
    ASSERT_EQ(D3D_OK, device->SetRenderTarget(0, back));
    back->Release();
    surface->Release();
    target->Release();
}

TEST_F(DeviceTest, StageZeroModulatesTheTextureWithAlphaFromTheVertex) {
    TempDir dir;
    WriteBmp(dir.File("two.bmp"), 2, 1, {0xff8000, 0x4080ff});
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileW(device, Wide(dir.File("two.bmp")).c_str(), &texture));
    IDirect3DTexture9* target = nullptr;
    IDirect3DSurface9* surface = nullptr;
    device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr);
    target->GetSurfaceLevel(0, &surface);
    device->SetRenderTarget(0, surface);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.5f, D3DCOLOR_ARGB(96, 255, 128, 255));
    DrawQuad(0);
    EXPECT_TRUE(CloseColour(D3DCOLOR_ARGB(96, 255, 64, 0), PixelAt(device, 10, 32)));
    EXPECT_TRUE(CloseColour(D3DCOLOR_ARGB(96, 64, 64, 255), PixelAt(device, 50, 32)));
    device->SetTexture(0, nullptr);
    DrawQuad(0);
    EXPECT_TRUE(CloseColour(D3DCOLOR_ARGB(96, 255, 128, 255), PixelAt(device, 10, 32))) << "no texture: vertex colour";
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->SetRenderTarget(0, back);
    back->Release();
    surface->Release();
    target->Release();
    texture->Release();
}

TEST_F(DeviceTest, CullModesFollowTheScreenWinding) {
    // The quad's first triangle runs clockwise on screen.
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(255, 255, 255));
    const std::pair<D3DCULL, DWORD> cases[] = {
        {D3DCULL_NONE, 0xffffffff}, {D3DCULL_CCW, 0xffffffff}, {D3DCULL_CW, 0xff000000}};
    for (const auto& [mode, expected] : cases) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        device->SetRenderState(D3DRS_CULLMODE, mode);
        DrawQuad(0);
        EXPECT_TRUE(CloseColour(expected, PixelAt(device, 100, 100) | 0xff000000)) << "cull mode " << mode;
    }
}

TEST_F(DeviceTest, BackBufferAndRenderTargetReportTheirSizes) {
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(D3D_OK, device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    EXPECT_EQ(320u, desc.Width);
    EXPECT_EQ(240u, desc.Height);
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    IDirect3DSurface9* current = nullptr;
    device->GetRenderTarget(0, &current);
    EXPECT_EQ(back, current);
    current->Release();
    back->Release();

    IDirect3DTexture9* small = nullptr;
    ASSERT_EQ(D3D_OK, device->CreateTexture(64, 48, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                            &small, nullptr));
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(D3D_OK, small->GetSurfaceLevel(0, &level));
    level->GetDesc(&desc);
    EXPECT_EQ(64u, desc.Width);
    EXPECT_EQ(48u, desc.Height);
    EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
    IDirect3DSurface9* none = reinterpret_cast<IDirect3DSurface9*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, small->GetSurfaceLevel(1, &none));
    EXPECT_EQ(nullptr, none);
    // Drawing into the render target covers its own size, not the window's.
    ASSERT_EQ(D3D_OK, device->SetRenderTarget(0, level));
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(0, 0, 0, 0), 1.0f, 0);
    WriteQuad(buffer, 0, 0, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(255, 255, 0));
    DrawQuad(0);
    EXPECT_EQ(0u, PixelAt(device, 31, 24));
    EXPECT_TRUE(CloseColour(0xffffff00, PixelAt(device, 32, 24)));
    EXPECT_TRUE(CloseColour(0xffffff00, PixelAt(device, 63, 47)));
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->SetRenderTarget(0, back);
    back->Release();
    level->Release();
    small->Release();
}

TEST_F(DeviceTest, LocksOutsideTheBufferFailAndWriteNothing) {
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, buffer->Lock(36 * 64, 36, &data, 0));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(D3DERR_INVALIDCALL, buffer->Lock(36 * 63 + 1, 36, &data, 0));
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

TEST_F(DeviceTest, LaterWritesToADrawnRangeReachTheNextDraw) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(255, 0, 0));
    DrawQuad(0);
    WriteQuad(buffer, 0, -1, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(0, 0, 255));
    DrawQuad(0);
    EXPECT_TRUE(CloseColour(0xff0000ff, PixelAt(device, 100, 100) | 0xff000000));
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

// The GL store grows as drawing reaches further into a large buffer; what was
// written before the growth must still be there afterwards.
TEST_F(DeviceTest, DrawsFarIntoALargeBufferSeeEverythingWritten) {
    IDirect3DVertexBuffer9* large = nullptr;
    ASSERT_EQ(D3D_OK, device->CreateVertexBuffer(36 * 2000000, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                 &large, nullptr));
    device->SetStreamSource(0, large, 0, 36);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    WriteQuad(large, 0, -1, -1, 0, 1, 0.5f, D3DCOLOR_XRGB(255, 0, 0));
    DrawQuad(0);
    const UINT far = 1500000;  // 54 MB in: well past the first store
    WriteQuad(large, far, 0, -1, 1, 1, 0.5f, D3DCOLOR_XRGB(0, 255, 0));
    DrawQuad(far);
    DrawQuad(0);  // the early range survives the store's growth
    EXPECT_TRUE(CloseColour(0xff00ff00, PixelAt(device, 240, 120) | 0xff000000));
    EXPECT_TRUE(CloseColour(0xffff0000, PixelAt(device, 80, 120) | 0xff000000));
    device->SetStreamSource(0, buffer, 0, 36);
    large->Release();
}
