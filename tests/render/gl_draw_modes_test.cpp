// The draw modes through the OpenGL layer under Xvfb: what reaches the pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/d3d9_readback.h"
#include "platform/d3dx9.h"
#include "platform/sdl_window.h"
#include "render/device_resources.h"
#include "render/draw_modes.h"
#include "render/vertex_batch.h"
#include "world/sprites.h"

namespace {
constexpr int kWidth = 160, kHeight = 120;

// A 2 x 2 24-bit bitmap of one grey level.
std::string WriteGreyBitmap(unsigned char level) {
    auto path = std::filesystem::temp_directory_path() / ("qf_grey_" + std::to_string(getpid()) + ".bmp");
    unsigned char file[70] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
                              1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0};
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 6; ++i) file[54 + row * 8 + i] = level;  // rows padded to 8 bytes
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof file);
    return path.string();
}

class GlDrawModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetGameWindowGlAttributes();
        window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window.sdlWindow, nullptr) << SDL_GetError();
        renderer.direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(renderer.direct3d, nullptr) << "no GL 3.3 core context (run under xvfb-run)";
        D3DPRESENT_PARAMETERS p = {};
        p.BackBufferWidth = kWidth, p.BackBufferHeight = kHeight, p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1, p.SwapEffect = D3DSWAPEFFECT_COPY, p.Windowed = TRUE;
        p.EnableAutoDepthStencil = TRUE, p.AutoDepthStencilFormat = D3DFMT_D16;
        ASSERT_EQ(renderer.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window,
                                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &renderer.device),
                  D3D_OK);
        // The start-up states, a camera that undoes the batch's +4 on z so game z
        // is depth, and a grey particle texture that shows whether it is applied.
        IDirect3DDevice9* device = renderer.device;
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        D3DMATRIX identity = {};
        identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
        D3DMATRIX view = identity;
        view._43 = -kBatchDepthShift;
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetTransform(D3DTS_VIEW, &view);
        device->SetTransform(D3DTS_PROJECTION, &identity);
        bitmap = WriteGreyBitmap(128);
        const std::wstring path(bitmap.begin(), bitmap.end());
        ASSERT_EQ(D3DXCreateTextureFromFileW(device, path.c_str(), &renderer.particleTexture), D3D_OK);
        vertexBatch = VertexBatch{};
        ASSERT_EQ(device->CreateVertexBuffer(256 * sizeof(BatchVertex), 0, D3DFVF_XYZ | D3DFVF_DIFFUSE,
                                             D3DPOOL_DEFAULT, &vertexBatch.buffer, nullptr),
                  D3D_OK);
        device->SetFVF(kBatchFvf);
        device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
        device->BeginScene();
    }

    void TearDown() override {
        if (renderer.device) {
            renderer.device->EndScene();
            renderer.device->SetStreamSource(0, nullptr, 0, 0);
            renderer.device->SetTexture(0, nullptr);
        }
        for (IUnknown* object : std::initializer_list<IUnknown*>{vertexBatch.buffer, renderer.particleTexture,
                                                                  renderer.device, renderer.direct3d})
            if (object) object->Release();
        vertexBatch = VertexBatch{};
        renderer = Renderer{};
        if (window.sdlWindow) SDL_DestroyWindow(window.sdlWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (!bitmap.empty()) std::filesystem::remove(bitmap);
    }

    // An untextured rectangle in clip-space x, y at depth z, as a strip piece.
    static void AddRectangle(float x0, float y0, float x1, float y1, float z, const Vec4& colour) {
        const Vec4 normal(0, 0, -1, 0);
        for (int i = 0; i < 4; ++i) vertexBatch.Add(Vec4(i % 2 ? x1 : x0, i < 2 ? y1 : y0, z, 1), colour, normal);
    }

    static void DrawUntextured(float x0, float y0, float x1, float y1, float z, const Vec4& colour) {
        vertexBatch.Reset();
        vertexBatch.EndStrip();
        AddRectangle(x0, y0, x1, y1, z, colour);
        vertexBatch.EndStrip();
        DrawStrip(2, 0);
    }

    // The pixel's red, green and blue within 3 of (r, g, b).
    static ::testing::AssertionResult Near(int x, int y, int r, int g, int b) {
        unsigned char rgba[4] = {};
        if (ReadRenderTargetPixels(renderer.device, x, y, 1, 1, rgba) != D3D_OK)
            return ::testing::AssertionFailure() << "read-back failed";
        if (std::abs(rgba[0] - r) > 3 || std::abs(rgba[1] - g) > 3 || std::abs(rgba[2] - b) > 3)
            return ::testing::AssertionFailure() << "pixel (" << int(rgba[0]) << ", " << int(rgba[1]) << ", "
                                                 << int(rgba[2]) << "), want (" << r << ", " << g << ", " << b << ")";
        return ::testing::AssertionSuccess();
    }

    HWND__ window;
    std::string bitmap;
};
}  // namespace

TEST_F(GlDrawModeTest, UntexturedStripDrawsPlainColourAndOnlyClosedPieces) {
    renderer.device->SetTexture(0, renderer.particleTexture);  // left bound by an earlier mode
    DrawUntextured(-1, -1, 0, 1, 0.5f, Vec4(200 / 255.0f, 100 / 255.0f, 30 / 255.0f, 1.0f));  // left half
    vertexBatch.Reset();
    AddRectangle(-1, -1, 1, 1, 0.1f, Vec4(1, 0, 0, 1));  // no EndStrip since the reset: not drawn
    DrawStrip(2, 0);
    EXPECT_TRUE(Near(40, 60, 200, 100, 30));
    EXPECT_TRUE(Near(40, 10, 200, 100, 30));
    EXPECT_TRUE(Near(120, 60, 0, 0, 0));
}

TEST_F(GlDrawModeTest, AdditiveSpritesBrightenAndLeaveDepthAlone) {
    DrawUntextured(-1, -1, 0, 1, 0.5f, Vec4(0.25f, 0.25f, 0.25f, 1));  // grey left half at depth 0.5
    vertexBatch.Reset();
    AddSprite(Vec4(0, 0, 0.3f, 1), Vec4(1.0f, 0.5f, 0.0f, 1), 0.5f);  // in front, across the middle
    AddSprite(Vec4(-0.5f, 0.75f, 0.7f, 1), Vec4(1, 1, 1, 1), 0.2f);   // behind the grey: hidden
    DrawSprites(0);
    // Texture 128 of 255 times the sprite colour, added to what is there.
    EXPECT_TRUE(Near(60, 60, 64 + 128, 64 + 64, 64));
    EXPECT_TRUE(Near(100, 60, 128, 64, 0));
    EXPECT_TRUE(Near(40, 15, 64, 64, 64)) << "depth is still tested";

    // Between the sprite and the grey: covers both halves only if the sprite
    // wrote no depth.
    DrawUntextured(-1, -1, 1, 1, 0.4f, Vec4(0, 0, 1, 1));
    EXPECT_TRUE(Near(60, 60, 0, 0, 255));
    EXPECT_TRUE(Near(100, 60, 0, 0, 255));
}
