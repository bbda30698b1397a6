// Effects and bitmap textures under Xvfb: Begin/End restoring the device
// states, misuse refused, and load failures with file and line. (What the
// shipped techniques draw shows in the whole-frame pixel hashes.)
#include <gtest/gtest.h>

#include <string>

#include <d3dx9.h>
#include "platform/posix/file_path.h"
#include "support/gl_test_support.h"
#include "support/temp_tree.h"

namespace {
const std::wstring kShippedEffect = Wide(QF_SOURCE_DIR "/assets/myshader.fx");

class EffectTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_EQ(D3D_OK, D3DXCreateEffectFromFileW(device, kShippedEffect.c_str(), nullptr, nullptr,
                                                    D3DXFX_NOT_CLONEABLE, nullptr, &effect, nullptr));
    }
    void TearDown() override {
        for (IUnknown* object : std::initializer_list<IUnknown*>{effect, texture})
            if (object) object->Release();
        GlTest::TearDown();
    }
    TempTree dir;
    IDirect3DTexture9* texture = nullptr;
    ID3DXEffect* effect = nullptr;
};
}  // namespace

TEST_F(EffectTest, BeginEndRestoreStatesAndParametersAreCheckedByNameAndKind) {
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    effect->SetTechnique("RenderToShadowPlane");
    ASSERT_EQ(D3D_OK, effect->Begin(nullptr, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, effect->Begin(nullptr, 0)) << "no nesting";
    EXPECT_EQ(D3DERR_INVALIDCALL, effect->BeginPass(1)) << "only pass 0 exists";
    ASSERT_EQ(D3D_OK, effect->BeginPass(0));
    DWORD zFunc = 0, zWrite = 0;
    device->GetRenderState(D3DRS_ZFUNC, &zFunc);
    EXPECT_EQ(DWORD{D3DCMP_LESS}, zFunc);
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_ZFUNC, &zFunc);
    device->GetRenderState(D3DRS_ZWRITEENABLE, &zWrite);
    EXPECT_EQ(std::make_pair(zFunc, zWrite), std::make_pair(DWORD{D3DCMP_LESSEQUAL}, DWORD{FALSE}));

    D3DXHANDLE width = effect->GetParameterByName(nullptr, "RenderTargetWidth");
    EXPECT_EQ(D3D_OK, effect->SetFloat(width, 1280.0f));
    D3DXMATRIX m{};
    EXPECT_EQ(D3DERR_INVALIDCALL, effect->SetMatrix(width, &m)) << "a float is not a matrix";
    EXPECT_EQ(D3DERR_INVALIDCALL, effect->SetFloat("NoSuchValue", 1.0f));
    EXPECT_EQ(D3DERR_INVALIDCALL, effect->SetTechnique(effect->GetTechniqueByName("NoSuchTechnique")));
}

// What only the GL side can find: parameters against the programs' uniforms,
// and compile errors mapped back to the file's lines.
TEST_F(EffectTest, BrokenEffectFilesFailWithFileLineAndReason) {
    const std::string good = "parameter matrix m\ntechnique T\nvertex\n#version 330 core\nuniform mat4 m;\n"
                             "in vec3 inPosition;\nvoid main() { gl_Position = m * vec4(inPosition, 1.0); }\nend\n"
                             "fragment\n#version 330 core\nout vec4 f;\nvoid main() { f = vec4(1.0); }\nend\n";
    const std::string afterFirstLine = good.substr(good.find('\n') + 1);
    const struct {
        std::string text;  // empty: no file at all
        const char* message;
    } cases[] = {
        {"", ": cannot read the file"},
        {"parameter float spare\n" + good, ":1: parameter 'spare' is read by no technique; mark it unused"},
        {"parameter float spare unused\n" + afterFirstLine,
         ":2: technique 'T' reads uniform 'm', which is no declared parameter"},
        {good.substr(0, 18) + " unused" + good.substr(18), ":1: parameter 'm' is marked unused but a technique reads it"},
        {good.substr(0, good.find("void main() { f")) + "void main() { f = nothing; }\nend\n",
         ":12: technique 'T' fragment program: 0:3("},
        {good.substr(0, good.find("in vec3")) + "void main() { gl_Position = m * 2; }\nend\n" +
             good.substr(good.find("fragment")),
         ":6: technique 'T' vertex program: 0:3("},
    };
    effect->Release();
    effect = nullptr;
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "broken" + std::to_string(n++) + ".fx", path = dir.Path(name);
        if (!c.text.empty()) dir.MakeFile(name, c.text);
        ID3DXBuffer* errors = nullptr;
        EXPECT_TRUE(FAILED(D3DXCreateEffectFromFileW(device, Wide(path).c_str(), nullptr, nullptr, 0, nullptr, &effect,
                                                     &errors)));
        EXPECT_EQ(nullptr, effect);
        ASSERT_NE(nullptr, errors);
        std::string message(static_cast<const char*>(errors->GetBufferPointer()));
        EXPECT_EQ(errors->GetBufferSize(), message.size() + 1);
        EXPECT_EQ(0u, message.find(path + c.message)) << message;
        errors->Release();
    }
}

TEST_F(EffectTest, BitmapsLoadWithBackslashPathsAndBadFilesFail) {
    // In a folder whose name is not UTF-8, named as the file calls name it.
    dir.MakeFile("raw\xff/one.bmp", Bmp(3, 1, {0x102030, 0x405060, 0x708090}));
    std::wstring path = PosixPathToWide(dir.Path("raw\xff/one.bmp"));
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileW(device, path.c_str(), &texture));
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(std::make_pair(desc.Width, desc.Height), std::make_pair(3u, 1u));
    IDirect3DTexture9* bad = nullptr;
    dir.MakeFile("bad.bmp", std::string("BM not really a bitmap"));
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileW(device, Wide(dir.Path("bad.bmp")).c_str(), &bad)));
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileW(device, Wide(dir.Path("none.bmp")).c_str(), &bad)));
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateTextureFromFileW(device, std::wstring(400, L'a').c_str(), &bad));
    EXPECT_EQ(nullptr, bad);
}
