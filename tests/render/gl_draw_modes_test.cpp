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

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class GlDrawModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
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
        SetUpDevice();
    }

    // The start-up states, a camera that undoes the batch's +4 on z so game z
    // is depth, and a grey particle texture that shows whether it is applied.
    void SetUpDevice() {
        IDirect3DDevice9* device = renderer.device;
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        D3DMATRIX identity = {}, view = {};
        identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
        view = identity;
        view._43 = -kBatchDepthShift;
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetTransform(D3DTS_VIEW, &view);
        device->SetTransform(D3DTS_PROJECTION, &identity);
        bitmap = WriteGreyBitmap(128);
        for (IDirect3DTexture9** texture :
             {&renderer.particleTexture, &renderer.particleCheapTexture, &renderer.tilesTexture})
            ASSERT_EQ(D3DXCreateTextureFromFileW(device, Wide(bitmap).c_str(), texture), D3D_OK);
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
        worldLightingTechnique = shadowPlaneTechnique = nullptr;
        for (IUnknown* object : std::initializer_list<IUnknown*>{vertexBatch.buffer, renderer.particleTexture,
                                                                  renderer.particleCheapTexture,
                                                                  renderer.tilesTexture, renderer.effect,
                                                                  renderer.device, renderer.direct3d})
            if (object) object->Release();
        vertexBatch = VertexBatch{};
        renderer = Renderer{};
        if (window.sdlWindow) SDL_DestroyWindow(window.sdlWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (!bitmap.empty()) std::filesystem::remove(bitmap);
    }

    // An untextured rectangle in clip-space x, y at depth z, as a closed strip piece.
    static void AddRectangle(float x0, float y0, float x1, float y1, float z, const Vec4& colour) {
        const Vec4 normal(0, 0, -1, 0);
        vertexBatch.Add(Vec4(x0, y1, z, 1), colour, normal);
        vertexBatch.Add(Vec4(x1, y1, z, 1), colour, normal);
        vertexBatch.Add(Vec4(x0, y0, z, 1), colour, normal);
        vertexBatch.Add(Vec4(x1, y0, z, 1), colour, normal);
    }

    static void DrawUntextured(float x0, float y0, float x1, float y1, float z, const Vec4& colour) {
        vertexBatch.Reset();
        vertexBatch.EndStrip();
        AddRectangle(x0, y0, x1, y1, z, colour);
        vertexBatch.EndStrip();
        DrawStrip(2, 0);
    }

    DWORD Pixel(int x, int y) const {
        unsigned char rgba[4] = {};
        EXPECT_EQ(ReadRenderTargetPixels(renderer.device, x, y, 1, 1, rgba), D3D_OK);
        return D3DCOLOR_ARGB(0, rgba[0], rgba[1], rgba[2]);
    }

    static ::testing::AssertionResult Near(DWORD actual, int r, int g, int b) {
        const int want[3] = {r, g, b};
        for (int c = 0; c < 3; ++c) {
            int got = static_cast<int>((actual >> (16 - 8 * c)) & 0xFF);
            if (std::abs(got - want[c]) > 3)
                return ::testing::AssertionFailure() << std::hex << "pixel 0x" << actual << std::dec << ", want ("
                                                     << r << ", " << g << ", " << b << ")";
        }
        return ::testing::AssertionSuccess();
    }

    HWND__ window;
    std::string bitmap;
};
}  // namespace

TEST_F(GlDrawModeTest, UntexturedStripDrawsPlainVertexColour) {
    renderer.device->SetTexture(0, renderer.particleTexture);  // left bound by an earlier mode
    DrawUntextured(-1, -1, 1, 1, 0.5f, Vec4(200 / 255.0f, 100 / 255.0f, 30 / 255.0f, 1.0f));
    EXPECT_TRUE(Near(Pixel(40, 60), 200, 100, 30));
    EXPECT_TRUE(Near(Pixel(120, 30), 200, 100, 30));
}

TEST_F(GlDrawModeTest, StripWithoutEndStripSinceTheResetDrawsNothing) {
    DrawUntextured(-1, -1, 0, 1, 0.5f, Vec4(0, 1, 0, 1));  // left half green, drawn
    vertexBatch.Reset();
    AddRectangle(-1, -1, 1, 1, 0.1f, Vec4(1, 0, 0, 1));  // never closed
    DrawStrip(2, 0);
    EXPECT_TRUE(Near(Pixel(40, 60), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(120, 60), 0, 0, 0));
}

TEST_F(GlDrawModeTest, AdditiveSpritesBrightenAndLeaveDepthAlone) {
    DrawUntextured(-1, -1, 0, 1, 0.5f, Vec4(0.25f, 0.25f, 0.25f, 1));  // grey left half at depth 0.5
    vertexBatch.Reset();
    AddSprite(Vec4(0, 0, 0.3f, 1), Vec4(1.0f, 0.5f, 0.0f, 1), 0.5f);  // in front, across the middle
    AddSprite(Vec4(-0.5f, 0.75f, 0.7f, 1), Vec4(1, 1, 1, 1), 0.2f);   // behind the grey: hidden
    DrawSprites(0);
    // Texture 128 of 255 times the sprite colour, added to what is there.
    EXPECT_TRUE(Near(Pixel(60, 60), 64 + 128, 64 + 64, 64));
    EXPECT_TRUE(Near(Pixel(100, 60), 128, 64, 0));
    EXPECT_TRUE(Near(Pixel(40, 15), 64, 64, 64)) << "depth is still tested";

    // Between the sprite and the grey: covers both halves only if the sprite
    // wrote no depth.
    DrawUntextured(-1, -1, 1, 1, 0.4f, Vec4(0, 0, 1, 1));
    EXPECT_TRUE(Near(Pixel(60, 60), 0, 0, 255));
    EXPECT_TRUE(Near(Pixel(100, 60), 0, 0, 255));
}

TEST_F(GlDrawModeTest, TexturedStripRunsThroughTheEffectTechnique) {
    std::wstring path = Wide(QF_SOURCE_DIR "/assets/myshader.fx");
    ASSERT_EQ(D3DXCreateEffectFromFileW(renderer.device, path.c_str(), nullptr, nullptr, D3DXFX_NOT_CLONEABLE, nullptr,
                                        &renderer.effect, nullptr),
              D3D_OK);
    D3DMATRIX view = {};
    renderer.device->GetTransform(D3DTS_VIEW, &view);
    D3DXMATRIX viewProjection;
    static_cast<D3DMATRIX&>(viewProjection) = view;  // the projection is the identity here
    renderer.effect->SetMatrix("mWorldViewProjection", &viewProjection);
    const D3DXVECTOR4 light{0, 20, 0, 0};
    renderer.effect->SetVector("LightPosition", &light);
    worldLightingTechnique = renderer.effect->GetTechniqueByName("WorldLighting");
    shadowPlaneTechnique = renderer.effect->GetTechniqueByName("RenderToShadowPlane");
    renderer.effect->SetTechnique(shadowPlaneTechnique);

    vertexBatch.Reset();
    vertexBatch.EndStrip();
    const Vec4 white(1, 1, 1, 1), down(0, -1, 0, 0);  // facing away from the light
    vertexBatch.Add(Vec4(-1, 1, 0.5f, 1), white, down);
    vertexBatch.Add(Vec4(1, 1, 0.5f, 1), white, down);
    vertexBatch.Add(Vec4(-1, -1, 0.5f, 1), white, down);
    vertexBatch.Add(Vec4(1, -1, 0.5f, 1), white, down);
    vertexBatch.EndStrip();
    DrawStrip(1, 0);
    // The effect shades the unlit side darker than the 128 grey texture itself,
    // which is what the fixed-function path would show.
    const int grey = static_cast<int>(Pixel(80, 60) & 0xFF);
    EXPECT_GT(grey, 10);
    EXPECT_LT(grey, 110);
    EXPECT_STREQ(renderer.effect->GetCurrentTechnique(), "WorldLighting");
}
