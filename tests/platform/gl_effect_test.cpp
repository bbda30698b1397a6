// Effects and bitmap textures under Xvfb: the shipped techniques drawing,
// Begin/End restoring the device states, and load failures with file and line.
#include <gtest/gtest.h>

#include <string>

#include "platform/d3dx9.h"
#include "platform/file_path.h"
#include "support/gl_test_support.h"
#include "support/temp_tree.h"

namespace {
const std::wstring kShippedEffect = Wide(QF_SOURCE_DIR "/assets/myshader.fx");

class EffectTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(128, 128, 128), 1.0f, 0);
        ASSERT_EQ(D3D_OK, D3DXCreateEffectFromFileW(device, kShippedEffect.c_str(), nullptr, nullptr,
                                                    D3DXFX_NOT_CLONEABLE, nullptr, &effect, nullptr));
    }
    void TearDown() override {
        for (IUnknown* object : std::initializer_list<IUnknown*>{effect, texture})
            if (object) object->Release();
        GlTest::TearDown();
    }
    // A strip from `corner`: `width` along +x, `depth` down -y (upright) or -z
    // (level); texture coordinates run uvSpan across it.
    void WriteQuad(TestVertex corner, float width, float depth, bool level, float uvSpan = 1.0f) {
        TestVertex quad[4];
        for (int i = 0; i < 4; ++i) {
            quad[i] = corner;
            quad[i].x += float(i % 2) * width;
            (level ? quad[i].z : quad[i].y) -= float(i / 2) * depth;
            quad[i].u += float(i % 2) * uvSpan;
            quad[i].v += float(i / 2) * uvSpan;
        }
        WriteVertices(buffer, 0, quad);
    }
    void DrawThrough(const char* technique) {
        ASSERT_EQ(D3D_OK, effect->SetTechnique(effect->GetTechniqueByName(technique)));
        ASSERT_EQ(D3D_OK, effect->Begin(nullptr, 0));
        ASSERT_EQ(D3D_OK, effect->BeginPass(0));
        EXPECT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
        effect->EndPass();
        effect->End();
    }

    TempTree dir;
    IDirect3DTexture9* texture = nullptr;
    ID3DXEffect* effect = nullptr;
};
}  // namespace

TEST_F(EffectTest, WorldLightingDrawsTheTextureTintedByTheVertexColour) {
    dir.MakeFile("checker.bmp", Bmp(2, 2, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}));
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileW(device, Wide(dir.Path("checker.bmp")).c_str(), &texture));
    D3DXMATRIX identity;
    D3DXMatrixRotationY(&identity, 0.0f);
    effect->SetMatrix(effect->GetParameterByName(nullptr, "mWorldViewProjection"), &identity);
    // Straight in front of the quad, facing it: full light at the centre.
    D3DXVECTOR4 light{0.0f, 0.0f, -104.0f, 0.0f};
    effect->SetVector("LightPosition", &light);
    effect->SetTexture("RenderTargetTexture", texture);
    WriteQuad({-1, 1, 0.5f, 0, 0, -1, D3DCOLOR_ARGB(255, 255, 128, 255), 0, 0}, 2, 2, false);
    DrawThrough("WorldLighting");
    // Texel rows run top to bottom as in the file; light falls off a little off-centre.
    EXPECT_TRUE(ScreenIs(device, 150, 110, 0xff0000, 4));
    EXPECT_TRUE(ScreenIs(device, 170, 110, 0x008000, 4));
    EXPECT_TRUE(ScreenIs(device, 150, 130, 0x0000ff, 4));
    EXPECT_TRUE(ScreenIs(device, 170, 130, 0xff80ff, 4));
    // A surface turned away from the light keeps the ambient part only.
    WriteQuad({-1, 1, 0.5f, 0, 0, 1, D3DCOLOR_XRGB(255, 255, 255), 0.75f, 0.75f}, 2, 2, false, 0.0f);
    DrawThrough("WorldLighting");
    EXPECT_TRUE(ScreenIs(device, 160, 120, 0x595959));
}

TEST_F(EffectTest, ShadowFallsWhereTheLightRayMeetsTheFloorAndDarkensOnce) {
    // Looking straight down from above the origin.
    D3DXVECTOR3 eye{0.0f, 30.0f, 4.0f}, at{0.0f, 0.0f, 4.0f}, up{0.0f, 0.0f, 1.0f};
    D3DXMATRIX view, projection, viewProjection;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 1000.0f);
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    effect->SetMatrix("mWorldViewProjection", &viewProjection);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    D3DXVECTOR4 light{0.0f, 20.0f, 0.0f, 0.0f};
    effect->SetVector("LightPosition", &light);
    // The floor at y = -1.4, drawn first as the frame does, writing depth.
    WriteQuad({-30, -1.4f, 34, 0, 1, 0, D3DCOLOR_XRGB(200, 200, 200), 0, 0}, 60, 60, true, 0.0f);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    ASSERT_TRUE(ScreenIs(device, 160, 120, 0xc8c8c8));
    // A level square at y = 9.3, halfway up to the light, centred on x = 2:
    // its shadow is twice its size, centred on x = 4. Drawn twice, as
    // overlapping limbs would be, it still darkens the floor only once.
    WriteQuad({1, 9.3f, 5, 0, 1, 0, D3DCOLOR_XRGB(255, 255, 255), 0, 0}, 2, 2, true, 0.0f);
    DrawThrough("RenderToShadowPlane");
    DrawThrough("RenderToShadowPlane");
    // Half-strength black over the grey, every pixel of the shadow alike.
    const D3DXMATRIX& m = viewProjection;
    float clipX = 4.0f * m._11 - 1.4f * m._21 + 4.0f * m._31 + m._41;
    float clipW = 4.0f * m._14 - 1.4f * m._24 + 4.0f * m._34 + m._44;
    int x = static_cast<int>((clipX / clipW + 1.0f) * 160.0f);
    for (int d : {0, -3, 3}) EXPECT_TRUE(ScreenIs(device, x + d, 120 + d, 0x646464, 3));
    EXPECT_TRUE(ScreenIs(device, 160, 120, 0xc8c8c8)) << "no shadow under the light";
}

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
