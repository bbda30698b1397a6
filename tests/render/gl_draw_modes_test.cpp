// The draw modes through the OpenGL layer under Xvfb: what reaches the pixels.
#include <gtest/gtest.h>

#include <string>

#include "platform/d3dx9.h"
#include "render/device_resources.h"
#include "render/draw_modes.h"
#include "render/vertex_batch.h"
#include "support/gl_test_support.h"
#include "support/temp_tree.h"
#include "world/sprites.h"

namespace {
class GlDrawModeTest : public GlTest {
protected:
    GlDrawModeTest() : GlTest(160, 120) {}

    void SetUp() override {
        GlTest::SetUp();
        // The start-up states, a camera that undoes the batch's +4 on z so game z
        // is depth, and a grey particle texture that shows whether it is applied.
        renderer.direct3d = gl.direct3d;
        renderer.device = device;
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        const D3DMATRIX identity = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
        const D3DMATRIX view = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -kBatchDepthShift, 1}}};
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetTransform(D3DTS_VIEW, &view);
        device->SetTransform(D3DTS_PROJECTION, &identity);
        dir.MakeFile("grey.bmp", Bmp(2, 2, std::vector<uint32_t>(4, 0x808080)));
        ASSERT_EQ(D3DXCreateTextureFromFileW(device, Wide(dir.Path("grey.bmp")).c_str(), &renderer.particleTexture),
                  D3D_OK);
        vertexBatch = VertexBatch{};
        vertexBatch.buffer = buffer;
        device->BeginScene();
    }

    void TearDown() override {
        if (device) {
            device->EndScene();
            device->SetTexture(0, nullptr);
        }
        if (renderer.particleTexture) renderer.particleTexture->Release();
        vertexBatch = VertexBatch{};
        renderer = Renderer{};  // the device and its factory belong to the fixture
        GlTest::TearDown();
    }

    // An untextured rectangle in clip-space x, y at depth z, drawn as the only closed strip piece.
    static void DrawUntextured(float x0, float y0, float x1, float y1, float z, const Vec4& colour) {
        vertexBatch.Reset();
        vertexBatch.EndStrip();
        for (int i = 0; i < 4; ++i)
            vertexBatch.Add(Vec4(i % 2 ? x1 : x0, i < 2 ? y1 : y0, z, 1), colour, Vec4(0, 0, -1, 0));
        vertexBatch.EndStrip();
        DrawStrip(StripTexture::Untextured, StripTechnique::WorldLighting);
    }

    // The pixel's red, green and blue within 3 of rgb.
    ::testing::AssertionResult Near(int x, int y, DWORD rgb) const { return ScreenIs(device, x, y, rgb, 3); }

    TempTree dir;
};
}  // namespace

// Which pieces a strip draw covers is pinned down on the recording device; here
// the pixels show untextured colour, additive blending and the depth states.
TEST_F(GlDrawModeTest, AdditiveSpritesBrightenAndLeaveDepthAlone) {
    device->SetTexture(0, renderer.particleTexture);  // left bound as an earlier mode would: must not tint
    DrawUntextured(-1, -1, 0, 1, 0.5f, Vec4(0.25f, 0.125f, 0, 1));  // brown left half at depth 0.5
    vertexBatch.Reset();
    AddSprite(Vec4(0, 0, 0.3f, 1), Vec4(1.0f, 0.5f, 0.0f, 1), 0.5f);  // in front, across the middle
    AddSprite(Vec4(-0.5f, 0.75f, 0.7f, 1), Vec4(1, 1, 1, 1), 0.2f);   // behind the brown: hidden
    DrawSprites(SpriteTexture::Particle);
    // Texture 128 of 255 times the sprite colour, added to what is there.
    EXPECT_TRUE(Near(60, 60, 0x402000 + 0x804000));
    EXPECT_TRUE(Near(100, 60, 0x804000));
    EXPECT_TRUE(Near(40, 15, 0x402000)) << "depth is still tested";

    // Between the sprite and the brown: covers both halves only if the sprite
    // wrote no depth.
    DrawUntextured(-1, -1, 1, 1, 0.4f, Vec4(0, 0, 1, 1));
    EXPECT_TRUE(Near(60, 60, 0x0000ff));
    EXPECT_TRUE(Near(100, 60, 0x0000ff));
}
