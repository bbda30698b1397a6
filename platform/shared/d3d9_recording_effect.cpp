#include <cstring>

#include "platform/shared/d3d9_recording_device.h"

namespace {
// Names longer than the effect's copies refuse rather than being cut short,
// which would make them a different name.
bool CopyName(char (&out)[kRecordingNameSize], const char* name) {
    if (name == nullptr || std::strlen(name) >= kRecordingNameSize) return false;
    std::strcpy(out, name);
    return true;
}
}  // namespace

RecordingEffect::RecordingEffect(RecordingDevice* device) : device_(device) { device_->AddRef(); }

RecordingEffect::~RecordingEffect() {
    if (device_->activeEffect == this) device_->activeEffect = nullptr;
    device_->Release();
}

ULONG RecordingEffect::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

bool RecordingEffect::AddParameter(const char* name, EffectParameterKind kind) {
    if (parameterCount_ == kRecordingMaxParameters) return false;
    Parameter& p = parameters_[parameterCount_];
    p = Parameter{{}, kind, nullptr, {}, 0};
    if (!CopyName(p.name, name)) return false;
    ++parameterCount_;
    return true;
}

bool RecordingEffect::AddTechnique(const char* name) {
    if (techniqueCount_ == kRecordingMaxTechniques || !CopyName(techniques_[techniqueCount_], name)) return false;
    if (technique_ == nullptr) technique_ = techniques_[techniqueCount_];
    ++techniqueCount_;
    return true;
}

D3DXHANDLE RecordingEffect::GetParameterByName(D3DXHANDLE parent, const char* name) {
    if (parent != nullptr || name == nullptr) return nullptr;
    const Parameter* found = parameter(name);
    return found ? found->name : nullptr;
}

D3DXHANDLE RecordingEffect::GetTechniqueByName(const char* name) {
    if (name == nullptr) return nullptr;
    for (UINT i = 0; i < techniqueCount_; ++i)
        if (techniques_[i] == name || std::strcmp(techniques_[i], name) == 0) return techniques_[i];
    return nullptr;
}

HRESULT RecordingEffect::SetTechnique(D3DXHANDLE technique) {
    D3DXHANDLE found = GetTechniqueByName(technique);
    HRESULT result = found ? D3D_OK : D3DERR_INVALIDCALL;
    if (found) technique_ = found;
    device_->Record(RecordedCallKind::EffectSetTechnique, result, 0, 0, 0, nullptr, found);
    return result;
}

const RecordingEffect::Parameter* RecordingEffect::parameter(const char* name) const {
    if (name == nullptr) return nullptr;
    for (UINT i = 0; i < parameterCount_; ++i)
        if (parameters_[i].name == name || std::strcmp(parameters_[i].name, name) == 0) return &parameters_[i];
    return nullptr;
}

// A handle or name of a parameter of the given kind; null otherwise.
RecordingEffect::Parameter* RecordingEffect::Find(D3DXHANDLE handle, EffectParameterKind kind) {
    const Parameter* found = parameter(handle);
    if (found == nullptr || found->kind != kind) return nullptr;
    return &parameters_[found - parameters_];
}

HRESULT RecordingEffect::SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture) {
    Parameter* p = Find(handle, EffectParameterKind::Texture);
    if (p) {
        p->texture = texture;
        ++p->sets;
    }
    HRESULT result = p ? D3D_OK : D3DERR_INVALIDCALL;
    device_->Record(RecordedCallKind::EffectSetTexture, result, 0, 0, 0, texture, p ? p->name : nullptr);
    return result;
}

HRESULT RecordingEffect::SetFloat(D3DXHANDLE handle, float value) {
    Parameter* p = Find(handle, EffectParameterKind::Float);
    if (p) {
        p->values[0] = value;
        ++p->sets;
    }
    HRESULT result = p ? D3D_OK : D3DERR_INVALIDCALL;
    RecordedCall* call = device_->Record(RecordedCallKind::EffectSetFloat, result, 0, 0, 0, nullptr, p ? p->name : nullptr);
    if (call) call->values[0] = value;
    return result;
}

HRESULT RecordingEffect::SetVector(D3DXHANDLE handle, const D3DXVECTOR4* vector) {
    Parameter* p = vector ? Find(handle, EffectParameterKind::Vector) : nullptr;
    if (p) {
        std::memcpy(p->values, vector, sizeof *vector);
        ++p->sets;
    }
    HRESULT result = p ? D3D_OK : D3DERR_INVALIDCALL;
    RecordedCall* call = device_->Record(RecordedCallKind::EffectSetVector, result, 0, 0, 0, nullptr, p ? p->name : nullptr);
    if (call && p) std::memcpy(call->values, vector, sizeof *vector);
    return result;
}

HRESULT RecordingEffect::SetMatrix(D3DXHANDLE handle, const D3DXMATRIX* matrix) {
    Parameter* p = matrix ? Find(handle, EffectParameterKind::Matrix) : nullptr;
    if (p) {
        std::memcpy(p->values, &matrix->m[0][0], sizeof p->values);
        ++p->sets;
    }
    HRESULT result = p ? D3D_OK : D3DERR_INVALIDCALL;
    RecordedCall* call = device_->Record(RecordedCallKind::EffectSetMatrix, result, 0, 0, 0, nullptr, p ? p->name : nullptr);
    if (call && p) std::memcpy(call->values, p->values, sizeof p->values);
    return result;
}

HRESULT RecordingEffect::Misordered(RecordedCallKind kind) {
    ++misorderedCalls;
    device_->Record(kind, D3DERR_INVALIDCALL, 0, 0, 0, nullptr, technique_);
    return D3DERR_INVALIDCALL;
}

HRESULT RecordingEffect::Begin(UINT* passCount, DWORD flags) {
    if (begun_ || technique_ == nullptr) return Misordered(RecordedCallKind::EffectBegin);
    begun_ = true;
    ++begins;
    if (passCount) *passCount = 1;
    device_->activeEffect = this;
    device_->Record(RecordedCallKind::EffectBegin, D3D_OK, flags, 0, 0, nullptr, technique_);
    return D3D_OK;
}

HRESULT RecordingEffect::BeginPass(UINT pass) {
    if (!begun_ || inPass_ || pass != 0) return Misordered(RecordedCallKind::EffectBeginPass);
    inPass_ = true;
    ++passes;
    device_->Record(RecordedCallKind::EffectBeginPass, D3D_OK, pass, 0, 0, nullptr, technique_);
    return D3D_OK;
}

HRESULT RecordingEffect::EndPass() {
    if (!inPass_) return Misordered(RecordedCallKind::EffectEndPass);
    inPass_ = false;
    device_->Record(RecordedCallKind::EffectEndPass, D3D_OK, 0, 0, 0, nullptr, technique_);
    return D3D_OK;
}

HRESULT RecordingEffect::End() {
    if (!begun_ || inPass_) return Misordered(RecordedCallKind::EffectEnd);
    begun_ = false;
    if (device_->activeEffect == this) device_->activeEffect = nullptr;
    device_->Record(RecordedCallKind::EffectEnd, D3D_OK, 0, 0, 0, nullptr, technique_);
    return D3D_OK;
}

HRESULT RecordingEffect::OnLostDevice() {
    ++lostDeviceCalls;
    return D3D_OK;
}

RecordingEffect* CreateRecordingEffect(RecordingDevice* device, const EffectFileDescription& description) {
    auto* effect = new RecordingEffect(device);
    bool fits = true;
    for (const EffectParameterDecl& p : description.parameters)
        fits = fits && effect->AddParameter(p.name.c_str(), p.kind);
    for (const EffectTechniqueDecl& t : description.techniques) fits = fits && effect->AddTechnique(t.name.c_str());
    if (fits) return effect;
    effect->Release();
    return nullptr;
}
