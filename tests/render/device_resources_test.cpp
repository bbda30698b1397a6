// Start-up and shutdown of the renderer's resources against media files in a
// temporary working folder: success, each bitmap broken, an incomplete effect,
// and nothing left alive after ReleaseResources. (Missing files and a malformed
// effect are left to the end-to-end test, which starts the game without each.)
#include <gtest/gtest.h>

#include <string>

#include "app/startup_failure.h"
#include "platform/d3d9_live_objects.h"
#include "render/device_resources.h"
#include "render/vertex_batch.h"
#include "support/gl_test_support.h"
#include "support/temp_tree.h"

namespace {
const char* const kBitmaps[] = {"particlecheaper7.bmp", "tiles.bmp", "particle.bmp", "TheFrontEnd.bmp", "score.bmp"};
const std::string kShippedEffect = ReadFile(QF_SOURCE_DIR "/assets/myshader.fx");

class DeviceResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kBitmaps) dir.MakeFile(name, Bmp(4, 2, std::vector<uint32_t>(8, 0x336699)));
        dir.MakeFile("myshader.fx", kShippedEffect);
        dir.EnterDir(".");
        ClearStartupFailure();
        liveBefore = LiveLayerObjects();
    }
    void TearDown() override {
        ReleaseResources();
        EXPECT_EQ(liveBefore, LiveLayerObjects()) << "ReleaseResources left layer objects alive";
    }

    TempTree dir;  // the working folder while the test runs
    TestWindow window;
    int liveBefore = 0;
};

UINT Width(const RenderTarget& target) {
    D3DSURFACE_DESC desc{};
    target.surface->GetDesc(&desc);
    return desc.Width;
}
}  // namespace

TEST_F(DeviceResourcesTest, CreatesEverythingAtTheDesktopSizeAndReleasesIt) {
    ASSERT_EQ(S_OK, CreateDeviceAndResources(&window.window)) << StartupFailureText();
    EXPECT_STREQ("", StartupFailureText());
    for (IDirect3DTexture9* t : {renderer.particleCheapTexture, renderer.tilesTexture, renderer.particleTexture,
                                 renderer.frontEndTexture, renderer.scoreTexture})
        EXPECT_NE(nullptr, t);
    EXPECT_NE(nullptr, renderer.worldViewProjectionHandle);
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    EXPECT_EQ(static_cast<UINT>(desktop.w), Width(renderer.fullTargetA));
    EXPECT_EQ(static_cast<UINT>(desktop.w), Width(renderer.fullTargetB));
    EXPECT_EQ(64u, Width(renderer.smallTarget));
    IDirect3DSurface9 *current = nullptr, *back = nullptr;
    renderer.device->GetRenderTarget(0, &current);
    renderer.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(back, current) << "the back buffer is the target again after the clears";
    current->Release();
    back->Release();
    // The batch's buffer goes too.
    ASSERT_EQ(D3D_OK, renderer.device->CreateVertexBuffer(36 * 16, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                          &vertexBatch.buffer, nullptr));
    ReleaseResources();
    EXPECT_EQ(nullptr, vertexBatch.buffer);
    EXPECT_EQ(nullptr, renderer.device);
    EXPECT_EQ(nullptr, renderer.effect);
}

TEST_F(DeviceResourcesTest, EachUnreadableBitmapFailsNamingTheFile) {
    for (const char* name : kBitmaps) {
        dir.MakeFile(name, std::string("not a bitmap"));
        ClearStartupFailure();
        EXPECT_TRUE(FAILED(CreateDeviceAndResources(&window.window))) << name;
        EXPECT_EQ(std::string(name) + ": cannot be read as a bitmap", StartupFailureText());
        ReleaseResources();  // a leak on any failure path shows in TearDown's count
        dir.MakeFile(name, Bmp(1, 1, {0}));
    }
}

// A malformed effect's file, line and reason come from the effect loader and are
// pinned there; start-up must also refuse a file without a technique it draws with.
TEST_F(DeviceResourcesTest, AnEffectWithoutTheShadowTechniqueFailsNamingTheFile) {
    std::string effect = kShippedEffect;
    const size_t at = effect.find("technique RenderToShadowPlane");
    ASSERT_NE(std::string::npos, at);
    dir.MakeFile("myshader.fx", effect.replace(at, 29, "technique SomethingElse"));
    EXPECT_TRUE(FAILED(CreateDeviceAndResources(&window.window)));
    EXPECT_STREQ("myshader.fx: no technique \"RenderToShadowPlane\"", StartupFailureText());
    EXPECT_EQ(nullptr, renderer.tilesTexture) << "nothing after the failing step is loaded";
}
