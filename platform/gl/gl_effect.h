// Internal to the OpenGL layer: an effect built from a parsed effect file.
// Parameters become GLSL uniforms of the same name (textures on units 0, 1,
// ...); a technique's one pass sets its render states on the device and
// replaces the fixed-function program until EndPass.
#pragma once

#include <string>
#include <vector>

#include <d3dx9.h>
#include "platform/shared/effect_file.h"
#include "platform/gl/gl_device.h"

class GlEffect : public GlObject<ID3DXEffect>, private GlProgramBinder {
public:
    explicit GlEffect(GlDevice* device);

    // Compiles every technique; on failure says which line and why.
    bool Build(const EffectFileDescription& description, EffectParseError* error);

    D3DXHANDLE GetParameterByName(D3DXHANDLE parent, const char* name) override;
    D3DXHANDLE GetTechniqueByName(const char* name) override;
    HRESULT SetTechnique(D3DXHANDLE technique) override;
    D3DXHANDLE GetCurrentTechnique() override;
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
    HRESULT SetFloat(D3DXHANDLE parameter, float value) override;
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT Begin(UINT* passes, DWORD flags) override;
    HRESULT BeginPass(UINT pass) override;
    HRESULT EndPass() override;
    HRESULT End() override;
    HRESULT OnLostDevice() override;

protected:
    ~GlEffect() override;

private:
    struct Parameter {
        std::string name;
        EffectParameterKind kind;
        float values[16] = {};
        GlTexture* texture = nullptr;
    };
    struct Technique {
        std::string name;
        std::vector<EffectStateDecl> states;
        GLuint program = 0;
        std::vector<GLint> locations;  // one per parameter, -1 when the program does not read it
    };

    void BindProgram() override;
    Parameter* FindParameter(D3DXHANDLE handle, EffectParameterKind kind);
    Technique* FindTechnique(D3DXHANDLE handle);
    bool BuildTechnique(const EffectTechniqueDecl& decl, EffectParseError* error);
    bool CheckUniforms(const EffectTechniqueDecl& decl, const Technique& technique, EffectParseError* error) const;
    bool CheckParameterUse(const EffectFileDescription& description, EffectParseError* error) const;

    GlDevice* device;
    std::vector<Parameter> parameters;
    std::vector<Technique> techniques;
    Technique* current = nullptr;
    bool begun = false;
    bool passActive = false;
    bool savedStates = false;
    GlDeviceStates saved{};
};
