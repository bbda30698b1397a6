#include "platform/windows/d3d9_effect.h"

#include <cstring>

#include "platform/shared/effect_handles.h"
#include "platform/windows/shader_assembler.h"

namespace {
UINT RegistersOf(EffectParameterKind kind) { return kind == EffectParameterKind::Matrix ? 4 : 1; }

bool Fail(EffectParseError* error, int line, std::string reason) {
    error->line = line;
    error->reason = std::move(reason);
    return false;
}

bool Assemble(const EffectProgramText& text, const char* stage, const std::string& technique,
              std::vector<DWORD>* tokens, EffectParseError* error) {
    AssembledShader shader = AssembleShader(text.source);
    if (shader.tokens.empty()) {
        int line = shader.errorLine > 0 ? text.firstLine + shader.errorLine - 1 : text.firstLine;
        return Fail(error, line, "technique '" + technique + "' " + stage + " asm program: " + shader.error);
    }
    *tokens = std::move(shader.tokens);
    return true;
}
}  // namespace

D3D9Effect::D3D9Effect(IDirect3DDevice9* device_) : device(device_) { device->AddRef(); }

D3D9Effect::~D3D9Effect() {
    for (Parameter& p : parameters)
        if (p.texture) p.texture->Release();
    for (Technique& t : techniques) {
        if (t.vertex) t.vertex->Release();
        if (t.pixel) t.pixel->Release();
        if (t.saved) t.saved->Release();
    }
    device->Release();
}

ULONG D3D9Effect::Release() {
    ULONG left = --references;
    if (left == 0) delete this;
    return left;
}

bool D3D9Effect::Build(const EffectFileDescription& description, EffectParseError* error) {
    parameters.reserve(description.parameters.size());
    for (const EffectParameterDecl& decl : description.parameters) {
        Parameter p{decl.name, decl.kind};
        if (!decl.unused) {
            if (decl.kind == EffectParameterKind::Texture) {
                p.slot = static_cast<int>(samplers++);
            } else {
                p.slot = static_cast<int>(registers);
                registers += RegistersOf(decl.kind);
            }
        }
        parameters.push_back(std::move(p));
    }
    constants.assign(size_t(registers) * 4, 0.0f);
    techniques.reserve(description.techniques.size());
    for (const EffectTechniqueDecl& decl : description.techniques)
        if (!BuildTechnique(decl, error)) return false;
    current = techniques.empty() ? nullptr : &techniques[0];
    return current != nullptr;
}

bool D3D9Effect::BuildTechnique(const EffectTechniqueDecl& decl, EffectParseError* error) {
    techniques.push_back({decl.name, decl.states});
    Technique& technique = techniques.back();
    if (decl.vertexAssembly.firstLine == 0 || decl.fragmentAssembly.firstLine == 0)
        return Fail(error, decl.line, "technique '" + decl.name + "' has no " +
                                          (decl.vertexAssembly.firstLine == 0 ? "vertex" : "fragment") +
                                          " asm program");
    std::vector<DWORD> vertexTokens, pixelTokens;
    if (!Assemble(decl.vertexAssembly, "vertex", decl.name, &vertexTokens, error) ||
        !Assemble(decl.fragmentAssembly, "fragment", decl.name, &pixelTokens, error))
        return false;
    if (FAILED(device->CreateVertexShader(vertexTokens.data(), &technique.vertex)))
        return Fail(error, decl.vertexAssembly.firstLine,
                    "technique '" + decl.name + "' vertex asm program: the device refuses it");
    if (FAILED(device->CreatePixelShader(pixelTokens.data(), &technique.pixel)))
        return Fail(error, decl.fragmentAssembly.firstLine,
                    "technique '" + decl.name + "' fragment asm program: the device refuses it");
    if (FAILED(RecordSavedState(&technique)))
        return Fail(error, decl.line, "technique '" + decl.name + "': no state block for its pass");
    return true;
}

// A state block recorded from the calls a pass makes holds exactly the states
// it changes; Capture then takes their current values and Apply puts them back.
HRESULT D3D9Effect::RecordSavedState(Technique* technique) {
    HRESULT status = device->BeginStateBlock();
    if (FAILED(status)) return status;
    for (const EffectStateDecl& s : technique->states) device->SetRenderState(s.state, s.value);
    device->SetVertexShader(technique->vertex);
    device->SetPixelShader(technique->pixel);
    for (DWORD sampler = 0; sampler < samplers; ++sampler) device->SetTexture(sampler, nullptr);
    if (registers > 0) {
        device->SetVertexShaderConstantF(0, constants.data(), registers);
        device->SetPixelShaderConstantF(0, constants.data(), registers);
    }
    return device->EndStateBlock(&technique->saved);
}

D3D9Effect::Parameter* D3D9Effect::FindParameter(D3DXHANDLE handle, EffectParameterKind kind) {
    Parameter* found = FindByHandle(parameters, handle);
    return found && found->kind == kind ? found : nullptr;
}

D3D9Effect::Technique* D3D9Effect::FindTechnique(D3DXHANDLE handle) { return FindByHandle(techniques, handle); }

D3DXHANDLE D3D9Effect::GetParameterByName(D3DXHANDLE parent, const char* name) {
    return parent == nullptr ? HandleByName(parameters, name) : nullptr;
}

D3DXHANDLE D3D9Effect::GetTechniqueByName(const char* name) { return HandleByName(techniques, name); }

HRESULT D3D9Effect::SetTechnique(D3DXHANDLE handle) {
    Technique* technique = FindTechnique(handle);
    if (technique == nullptr || passActive) return D3DERR_INVALIDCALL;
    current = technique;
    return D3D_OK;
}

D3DXHANDLE D3D9Effect::GetCurrentTechnique() { return current ? current->name.c_str() : nullptr; }

HRESULT D3D9Effect::SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Texture);
    if (p == nullptr) return D3DERR_INVALIDCALL;
    if (texture) texture->AddRef();
    if (p->texture) p->texture->Release();
    p->texture = texture;
    return D3D_OK;
}

HRESULT D3D9Effect::SetFloat(D3DXHANDLE handle, float value) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Float);
    if (p == nullptr) return D3DERR_INVALIDCALL;
    p->values[0] = value;
    return D3D_OK;
}

HRESULT D3D9Effect::SetVector(D3DXHANDLE handle, const D3DXVECTOR4* vector) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Vector);
    if (p == nullptr || vector == nullptr) return D3DERR_INVALIDCALL;
    std::memcpy(p->values, vector, sizeof *vector);
    return D3D_OK;
}

// Stored transposed: register i holds column i.
HRESULT D3D9Effect::SetMatrix(D3DXHANDLE handle, const D3DXMATRIX* matrix) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Matrix);
    if (p == nullptr || matrix == nullptr) return D3DERR_INVALIDCALL;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) p->values[column * 4 + row] = matrix->m[row][column];
    return D3D_OK;
}

HRESULT D3D9Effect::Begin(UINT* passes, DWORD flags) {
    if (begun || current == nullptr) return D3DERR_INVALIDCALL;
    restoreOnEnd = flags == 0;
    if (restoreOnEnd) {
        if (current->saved == nullptr && FAILED(RecordSavedState(current))) return E_FAIL;
        current->saved->Capture();
    }
    begun = true;
    begunWith = current;
    if (passes) *passes = 1;
    return D3D_OK;
}

void D3D9Effect::SendConstants() {
    for (const Parameter& p : parameters) {
        if (p.slot < 0 || p.kind == EffectParameterKind::Texture) continue;
        std::memcpy(&constants[size_t(p.slot) * 4], p.values, RegistersOf(p.kind) * 4 * sizeof(float));
    }
    if (registers == 0) return;
    device->SetVertexShaderConstantF(0, constants.data(), registers);
    device->SetPixelShaderConstantF(0, constants.data(), registers);
}

HRESULT D3D9Effect::BeginPass(UINT pass) {
    if (!begun || passActive || pass != 0) return D3DERR_INVALIDCALL;
    for (const EffectStateDecl& s : current->states) device->SetRenderState(s.state, s.value);
    device->SetVertexShader(current->vertex);
    device->SetPixelShader(current->pixel);
    SendConstants();
    for (const Parameter& p : parameters)
        if (p.slot >= 0 && p.kind == EffectParameterKind::Texture) device->SetTexture(static_cast<DWORD>(p.slot), p.texture);
    passActive = true;
    return D3D_OK;
}

HRESULT D3D9Effect::EndPass() {
    if (!passActive) return D3DERR_INVALIDCALL;
    passActive = false;
    return D3D_OK;
}

HRESULT D3D9Effect::End() {
    if (!begun) return D3DERR_INVALIDCALL;
    passActive = false;
    begun = false;
    if (restoreOnEnd && begunWith->saved) begunWith->saved->Apply();
    return D3D_OK;
}

// State blocks must go before a device reset; Begin records them again.
HRESULT D3D9Effect::OnLostDevice() {
    for (Technique& t : techniques)
        if (t.saved) {
            t.saved->Release();
            t.saved = nullptr;
        }
    return D3D_OK;
}
