#include "platform/gl/gl_effect.h"

#include <cstdlib>
#include <cstring>

#include "platform/gl/gl_shader.h"
#include "platform/shared/effect_handles.h"

namespace {
// Mesa and most drivers start a message with "0:LINE(COLUMN)"; the reason is
// the log's first line.
void DescribeShaderFailure(const EffectProgramText& text, const std::string& log, const char* stage,
                           const std::string& technique, EffectParseError* error) {
    std::string first = log.substr(0, log.find('\n'));
    error->line = text.firstLine;
    if (first.rfind("0:", 0) == 0) {
        long line = std::strtol(first.c_str() + 2, nullptr, 10);
        if (line > 0 && line < 1000000) error->line = text.firstLine + static_cast<int>(line) - 1;
    }
    error->reason = "technique '" + technique + "' " + stage + " program: " + (first.empty() ? "does not build" : first);
}
}  // namespace

GlEffect::GlEffect(GlDevice* device_) : device(device_) { device->AddRef(); }

GlEffect::~GlEffect() {
    if (device->ProgramBinder() == this) device->SetProgramBinder(nullptr);
    for (Parameter& p : parameters)
        if (p.texture) p.texture->Release();
    for (Technique& t : techniques)
        if (t.program) glDeleteProgram(t.program);
    device->Release();
}

bool GlEffect::Build(const EffectFileDescription& description, EffectParseError* error) {
    parameters.reserve(description.parameters.size());
    for (const EffectParameterDecl& decl : description.parameters) parameters.push_back({decl.name, decl.kind});
    techniques.reserve(description.techniques.size());
    for (const EffectTechniqueDecl& decl : description.techniques)
        if (!BuildTechnique(decl, error) || !CheckUniforms(decl, techniques.back(), error)) return false;
    if (!CheckParameterUse(description, error)) return false;
    current = techniques.empty() ? nullptr : &techniques[0];
    return current != nullptr;
}

bool GlEffect::BuildTechnique(const EffectTechniqueDecl& decl, EffectParseError* error) {
    GlShaderResult built = BuildProgram(decl.vertex.source.c_str(), decl.fragment.source.c_str());
    if (built.program == 0) {
        if (built.failed == GlShaderResult::kLink) {
            error->line = decl.line;
            error->reason = "technique '" + decl.name + "' does not link: " + built.log.substr(0, built.log.find('\n'));
            return false;
        }
        bool vertex = built.failed == GlShaderResult::kVertex;
        DescribeShaderFailure(vertex ? decl.vertex : decl.fragment, built.log, vertex ? "vertex" : "fragment",
                              decl.name, error);
        return false;
    }
    Technique technique{decl.name, decl.states, built.program, {}};
    for (const Parameter& p : parameters)
        technique.locations.push_back(glGetUniformLocation(built.program, p.name.c_str()));
    techniques.push_back(std::move(technique));
    return true;
}

// A uniform that no parameter feeds would silently stay zero.
bool GlEffect::CheckUniforms(const EffectTechniqueDecl& decl, const Technique& technique,
                             EffectParseError* error) const {
    GLint count = 0;
    glGetProgramiv(technique.program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(technique.program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        bool declared = false;
        for (const Parameter& p : parameters) declared = declared || p.name == name;
        if (!declared) {
            error->line = decl.line;
            error->reason = "technique '" + decl.name + "' reads uniform '" + name + "', which is no declared parameter";
            return false;
        }
    }
    return true;
}

// Every parameter is either read by some technique or plainly marked unused.
bool GlEffect::CheckParameterUse(const EffectFileDescription& description, EffectParseError* error) const {
    for (size_t i = 0; i < parameters.size(); ++i) {
        bool read = false;
        for (const Technique& t : techniques) read = read || t.locations[i] >= 0;
        const EffectParameterDecl& decl = description.parameters[i];
        if (read == !decl.unused) continue;
        error->line = decl.line;
        error->reason = "parameter '" + decl.name + (read ? "' is marked unused but a technique reads it"
                                                          : "' is read by no technique; mark it unused");
        return false;
    }
    return true;
}

GlEffect::Parameter* GlEffect::FindParameter(D3DXHANDLE handle, EffectParameterKind kind) {
    Parameter* found = FindByHandle(parameters, handle);
    return found && found->kind == kind ? found : nullptr;
}

GlEffect::Technique* GlEffect::FindTechnique(D3DXHANDLE handle) { return FindByHandle(techniques, handle); }

D3DXHANDLE GlEffect::GetParameterByName(D3DXHANDLE parent, const char* name) {
    return parent == nullptr ? HandleByName(parameters, name) : nullptr;
}

D3DXHANDLE GlEffect::GetTechniqueByName(const char* name) { return HandleByName(techniques, name); }

HRESULT GlEffect::SetTechnique(D3DXHANDLE handle) {
    Technique* technique = FindTechnique(handle);
    if (technique == nullptr || passActive) return D3DERR_INVALIDCALL;
    current = technique;
    return D3D_OK;
}

D3DXHANDLE GlEffect::GetCurrentTechnique() { return current ? current->name.c_str() : nullptr; }

HRESULT GlEffect::SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Texture);
    GlTexture* next = texture ? AsGlTexture(texture) : nullptr;
    if (p == nullptr || (texture != nullptr && next == nullptr)) return D3DERR_INVALIDCALL;
    if (next) next->AddRef();
    if (p->texture) p->texture->Release();
    p->texture = next;
    return D3D_OK;
}

HRESULT GlEffect::SetFloat(D3DXHANDLE handle, float value) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Float);
    if (p == nullptr) return D3DERR_INVALIDCALL;
    p->values[0] = value;
    return D3D_OK;
}

HRESULT GlEffect::SetVector(D3DXHANDLE handle, const D3DXVECTOR4* vector) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Vector);
    if (p == nullptr || vector == nullptr) return D3DERR_INVALIDCALL;
    std::memcpy(p->values, vector, sizeof *vector);
    return D3D_OK;
}

HRESULT GlEffect::SetMatrix(D3DXHANDLE handle, const D3DXMATRIX* matrix) {
    Parameter* p = FindParameter(handle, EffectParameterKind::Matrix);
    if (p == nullptr || matrix == nullptr) return D3DERR_INVALIDCALL;
    std::memcpy(p->values, &matrix->m[0][0], sizeof p->values);
    return D3D_OK;
}

HRESULT GlEffect::Begin(UINT* passes, DWORD flags) {
    if (begun || current == nullptr) return D3DERR_INVALIDCALL;
    begun = true;
    savedStates = flags == 0;
    if (savedStates) device->SaveStates(&saved);
    if (passes) *passes = 1;
    return D3D_OK;
}

HRESULT GlEffect::BeginPass(UINT pass) {
    if (!begun || passActive || pass != 0) return D3DERR_INVALIDCALL;
    for (const EffectStateDecl& s : current->states) device->SetRenderState(s.state, s.value);
    device->SetProgramBinder(this);
    passActive = true;
    return D3D_OK;
}

HRESULT GlEffect::EndPass() {
    if (!passActive) return D3DERR_INVALIDCALL;
    if (device->ProgramBinder() == this) device->SetProgramBinder(nullptr);
    passActive = false;
    return D3D_OK;
}

HRESULT GlEffect::End() {
    if (!begun) return D3DERR_INVALIDCALL;
    if (passActive) EndPass();
    if (savedStates) device->RestoreStates(saved);
    begun = false;
    return D3D_OK;
}

// Nothing lives in a pool that a reset would lose.
HRESULT GlEffect::OnLostDevice() { return D3D_OK; }

// Every value is sent at each draw: a handful of uniforms, and no stale
// state when the program changes between passes.
void GlEffect::BindProgram() {
    glUseProgram(current->program);
    GLint unit = 0;
    for (size_t i = 0; i < parameters.size(); ++i) {
        GLint location = current->locations[i];
        const Parameter& p = parameters[i];
        if (location < 0) continue;
        switch (p.kind) {
            case EffectParameterKind::Float: glUniform1f(location, p.values[0]); break;
            case EffectParameterKind::Vector: glUniform4fv(location, 1, p.values); break;
            case EffectParameterKind::Matrix: glUniformMatrix4fv(location, 1, GL_FALSE, p.values); break;
            case EffectParameterKind::Texture:
                glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
                glBindTexture(GL_TEXTURE_2D, p.texture ? p.texture->Name() : 0);
                glUniform1i(location, unit++);
                break;
        }
    }
    glActiveTexture(GL_TEXTURE0);
}
