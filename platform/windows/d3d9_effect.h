// An effect from a parsed effect file on the system's Direct3D 9 device: each
// technique's vs_2_0 / ps_2_0 assembly programs, assembled at load. Parameters
// the file does not mark unused become shader constants in declaration order,
// the same registers in both programs: a matrix takes four (its columns, so
// "dp4" against each gives the row-vector product), a vector or a float one
// (a float in x), from c0 up; textures take samplers s0, s1, ... A pass sets
// its render states, programs, constants and samplers; with Begin flags 0 the
// state it changes is captured first and put back by End, as in D3DX.
#pragma once

#include <string>
#include <vector>

#include <d3dx9.h>
#include "platform/shared/effect_file.h"

class D3D9Effect final : public ID3DXEffect {
public:
    explicit D3D9Effect(IDirect3DDevice9* device);
    ~D3D9Effect() override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override;

    // Assembles and creates every technique's programs; on failure says which line and why.
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

private:
    struct Parameter {
        std::string name;
        EffectParameterKind kind;
        int slot = -1;  // first constant register, or the sampler; -1 when unused
        float values[16] = {};
        IDirect3DBaseTexture9* texture = nullptr;
    };
    struct Technique {
        std::string name;
        std::vector<EffectStateDecl> states;
        IDirect3DVertexShader9* vertex = nullptr;
        IDirect3DPixelShader9* pixel = nullptr;
        IDirect3DStateBlock9* saved = nullptr;  // what a pass changes, made when first needed
    };

    Parameter* FindParameter(D3DXHANDLE handle, EffectParameterKind kind);
    Technique* FindTechnique(D3DXHANDLE handle);
    bool BuildTechnique(const EffectTechniqueDecl& decl, EffectParseError* error);
    HRESULT RecordSavedState(Technique* technique);
    void SendConstants();

    ULONG references = 1;
    IDirect3DDevice9* device;
    std::vector<Parameter> parameters;
    std::vector<Technique> techniques;
    std::vector<float> constants;  // four floats a register, refilled at each pass
    UINT registers = 0;
    DWORD samplers = 0;
    Technique* current = nullptr;
    Technique* begunWith = nullptr;
    bool begun = false;
    bool passActive = false;
    bool restoreOnEnd = false;
};
