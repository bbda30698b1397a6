// Start-up and shutdown of the renderer's resources against media files in a
// temporary working folder: success, each file broken, a malformed effect,
// and nothing left alive after ReleaseResources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/startup_failure.h"
#include "gl_test_window.h"
#include "media/media_search.h"
#include "platform/d3d9_live_objects.h"
#include "render/device_resources.h"
#include "render/vertex_batch.h"
#include "test_files.h"

namespace {
const char* const kBitmaps[] = {"particlecheaper7.bmp", "tiles.bmp", "particle.bmp", "TheFrontEnd.bmp", "score.bmp"};

std::string ShippedEffect() {
    std::ifstream file(QF_SOURCE_DIR "/assets/myshader.fx", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DeviceResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
        for (const char* name : kBitmaps) WriteBmp(dir.File(name), 4, 2, std::vector<uint32_t>(8, 0x336699));
        WriteTextFile(dir.File("myshader.fx"), ShippedEffect());
        ASSERT_EQ(0, chdir(dir.path.c_str()));
        ClearStartupFailure();
        liveBefore = LiveLayerObjects();
    }
    void TearDown() override {
        ReleaseResources();
        EXPECT_EQ(liveBefore, LiveLayerObjects()) << "ReleaseResources left layer objects alive";
        EXPECT_EQ(0, chdir(previous));
    }
    bool FoundElsewhere(const char* name) {
        std::filesystem::remove(dir.File(name));
        WCHAR path[MAX_PATH];
        return SUCCEEDED(FindMediaFile(path, MAX_PATH, Wide(name).c_str()));
    }

    TempDir dir;
    TestWindow window;
    char previous[4096] = {};
    int liveBefore = 0;
};
}  // namespace

TEST_F(DeviceResourcesTest, CreatesEverythingAtTheDesktopSizeAndReleasesIt) {
    ASSERT_EQ(S_OK, CreateDeviceAndResources(&window.window)) << StartupFailureText();
    EXPECT_STREQ("", StartupFailureText());
    ASSERT_NE(nullptr, renderer.device);
    for (IDirect3DTexture9* t : {renderer.particleCheapTexture, renderer.tilesTexture, renderer.particleTexture,
                                 renderer.frontEndTexture, renderer.scoreTexture})
        EXPECT_NE(nullptr, t);
    EXPECT_NE(nullptr, renderer.worldViewProjectionHandle);
    D3DSURFACE_DESC a{}, small{}, b{};
    renderer.fullTargetA.surface->GetDesc(&a);
    renderer.smallTarget.surface->GetDesc(&small);
    renderer.fullTargetB.surface->GetDesc(&b);
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    EXPECT_EQ(static_cast<UINT>(desktop.w), a.Width);
    EXPECT_EQ(static_cast<UINT>(desktop.h), a.Height);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(64u, small.Width);
    EXPECT_EQ(64u, small.Height);
    IDirect3DSurface9* current = nullptr;
    IDirect3DSurface9* back = nullptr;
    renderer.device->GetRenderTarget(0, &current);
    renderer.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(back, current) << "the back buffer is the target again after the clears";
    current->Release();
    back->Release();
    // The batch's buffer goes first and with everything else.
    ASSERT_EQ(D3D_OK, renderer.device->CreateVertexBuffer(36 * 16, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT,
                                                          &vertexBatch.buffer, nullptr));
    ReleaseResources();
    EXPECT_EQ(nullptr, vertexBatch.buffer);
    EXPECT_EQ(nullptr, renderer.device);
    EXPECT_EQ(nullptr, renderer.effect);
    EXPECT_EQ(liveBefore, LiveLayerObjects());
}

TEST_F(DeviceResourcesTest, EachUnreadableBitmapFailsNamingTheFile) {
    for (const char* name : kBitmaps) {
        WriteTextFile(dir.File(name), "not a bitmap");
        ClearStartupFailure();
        HRESULT status = CreateDeviceAndResources(&window.window);
        EXPECT_TRUE(FAILED(status)) << name;
        EXPECT_EQ(std::string(name) + ": cannot be read as a bitmap", StartupFailureText());
        ReleaseResources();
        EXPECT_EQ(liveBefore, LiveLayerObjects());
        WriteBmp(dir.File(name), 1, 1, {0});
    }
}

TEST_F(DeviceResourcesTest, MalformedEffectFailsWithFileLineAndReason) {
    std::string effect = ShippedEffect();
    effect.replace(effect.find("parameter vector LightPosition"), 30, "parameter colour LightPosition");
    WriteTextFile(dir.File("myshader.fx"), effect);
    int line = 1;
    for (size_t at = 0; (at = effect.find('\n', at) + 1) <= effect.find("parameter colour"); ++line) {
    }
    EXPECT_TRUE(FAILED(CreateDeviceAndResources(&window.window)));
    EXPECT_EQ("myshader.fx:" + std::to_string(line) + ": unknown parameter kind 'colour'", StartupFailureText());
    EXPECT_EQ(nullptr, renderer.effect);
    EXPECT_EQ(nullptr, renderer.tilesTexture) << "nothing after the failing step is loaded";
}

TEST_F(DeviceResourcesTest, EffectWithoutTheShadowTechniqueIsRefused) {
    std::string effect = ShippedEffect();
    effect.replace(effect.find("technique RenderToShadowPlane"), 29, "technique SomethingElse");
    WriteTextFile(dir.File("myshader.fx"), effect);
    EXPECT_TRUE(FAILED(CreateDeviceAndResources(&window.window)));
    EXPECT_STREQ("myshader.fx: no technique \"RenderToShadowPlane\"", StartupFailureText());
}

// The search also walks up from the test program's folder, where a full build
// keeps the generated media; so the check runs in a copy of this program
// placed outside the build tree.
TEST_F(DeviceResourcesTest, MissingMediaFailsNamingTheFile) {
    if (std::getenv("QF_GFX_MISSING_MEDIA_CHILD") == nullptr) {
        TempDir bare;  // no media beside the copy
        std::string copy = bare.File("test_gfx_copy");
        std::filesystem::copy_file("/proc/self/exe", copy);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
        std::string log = bare.File("child.log");
        std::string command = "QF_GFX_MISSING_MEDIA_CHILD=1 '" + copy +
                              "' --gtest_filter=DeviceResourcesTest.MissingMediaFailsNamingTheFile >'" + log + "' 2>&1";
        int status = std::system(command.c_str());
        std::ifstream file(log);
        std::stringstream output;
        output << file.rdbuf();
        EXPECT_EQ(0, status) << output.str();
        EXPECT_NE(std::string::npos, output.str().find("[  PASSED  ] 1 test.")) << output.str();
        return;
    }
    for (const char* name : {"myshader.fx", "tiles.bmp", "score.bmp"}) {
        ASSERT_FALSE(FoundElsewhere(name)) << name;
        ClearStartupFailure();
        EXPECT_EQ(kMediaNotFound, CreateDeviceAndResources(&window.window)) << name;
        EXPECT_EQ(std::string(name) + ": not found beside the game or in its parent folders", StartupFailureText());
        ReleaseResources();
        if (std::string(name) == "myshader.fx")
            WriteTextFile(dir.File(name), ShippedEffect());
        else
            WriteBmp(dir.File(name), 1, 1, {0});
    }
}
