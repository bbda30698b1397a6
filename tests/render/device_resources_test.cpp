// Start-up and shutdown of the renderer's resources against media files in a
// temporary working folder: success, each bitmap broken, an incomplete effect,
// the same start-up on the recording device, and nothing left alive after
// ReleaseResources. (Missing files and a malformed
// effect are left to the end-to-end test, which starts the game without each.)
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "app/startup_failure.h"
#include "platform/shared/d3d9_live_objects.h"
#include "render/device_resources.h"
#include "render/recording_renderer.h"
#include "render/vertex_batch.h"
#include "support/gl_test_support.h"
#include "support/temp_tree.h"

namespace {
std::string Narrow(const WCHAR* name) { return std::string(name, name + std::wcslen(name)); }
const std::string kShippedEffect = ReadFile(QF_SOURCE_DIR "/assets/myshader.fx");

class DeviceResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const BitmapTexture& bitmap : kBitmapTextures)
            dir.MakeFile(Narrow(bitmap.name), Bmp(4, 2, std::vector<uint32_t>(8, 0x336699)));
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

// What start-up makes is drawn in the whole-frame pixel tests; here, that
// it all goes again, the batch's buffer too.
TEST_F(DeviceResourcesTest, CreatesEverythingAndReleasesIt) {
    ASSERT_EQ(S_OK, CreateDeviceAndResources(&window.window)) << StartupFailureText();
    EXPECT_STREQ("", StartupFailureText());
    ASSERT_EQ(D3D_OK, renderer.device->CreateVertexBuffer(36 * 16, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                          &vertexBatch.buffer, nullptr));
    ReleaseResources();
    EXPECT_EQ(nullptr, vertexBatch.buffer);
    EXPECT_EQ(nullptr, renderer.device);
    EXPECT_EQ(nullptr, renderer.effect);
}

TEST_F(DeviceResourcesTest, EachUnreadableBitmapFailsNamingTheFile) {
    for (const BitmapTexture& bitmap : kBitmapTextures) {
        const std::string name = Narrow(bitmap.name);
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

// The replay tool and the recording tests run this same start-up: the effect
// and the bitmaps are the files found, and a broken one fails it as on OpenGL.
TEST_F(DeviceResourcesTest, TheRecordingDeviceGoesThroughTheSameStartup) {
    dir.MakeFile("tiles.bmp", Bmp(8, 1, std::vector<uint32_t>(8, 0)));
    dir.MakeFile("myshader.fx", "parameter float OnlyInThisFile unused\n" + kShippedEffect);
    RecordingRenderer rec;
    ASSERT_TRUE(InstallRecordingRenderer(320, 200, &rec)) << StartupFailureText();
    D3DSURFACE_DESC tiles{};
    renderer.tilesTexture->GetLevelDesc(0, &tiles);
    EXPECT_EQ(8u, tiles.Width) << "the bitmap's own size";
    EXPECT_STREQ("tiles.bmp", static_cast<RecordingTexture*>(renderer.tilesTexture)->label());
    EXPECT_NE(nullptr, rec.effect->parameter("OnlyInThisFile"));
    EXPECT_EQ(320u, Width(renderer.fullTargetA));
    ReleaseResources();
    EXPECT_EQ(0, RecordingLiveObjects());

    dir.MakeFile("score.bmp", std::string("not a bitmap"));
    ClearStartupFailure();
    EXPECT_FALSE(InstallRecordingRenderer(320, 200, &rec));
    EXPECT_EQ("score.bmp: cannot be read as a bitmap", std::string(StartupFailureText()));
    EXPECT_EQ(nullptr, renderer.device);
    EXPECT_EQ(0, RecordingLiveObjects()) << "a failed start-up releases what it made";
}
