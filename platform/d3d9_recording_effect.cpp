#include <cstring>

#include "platform/d3d9_recording_device.h"

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

bool RecordingEffect::AddParameter(const char* name, RecordedParameterKind kind) {
    if (parameterCount_ == kRecordingMaxParameters || name == nullptr) return false;
    parameters_[parameterCount_++] = Parameter{name, kind, nullptr, {}, 0};
    return true;
}

bool RecordingEffect::AddTechnique(const char* name) {
    if (techniqueCount_ == kRecordingMaxTechniques || name == nullptr) return false;
    techniques_[techniqueCount_++] = name;
    if (technique_ == nullptr) technique_ = name;
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
RecordingEffect::Parameter* RecordingEffect::Find(D3DXHANDLE handle, RecordedParameterKind kind) {
    const Parameter* found = parameter(handle);
    if (found == nullptr || found->kind != kind) return nullptr;
    return &parameters_[found - parameters_];
}

HRESULT RecordingEffect::SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture) {
    Parameter* p = Find(handle, RecordedParameterKind::Texture);
    if (p) {
        p->texture = texture;
        ++p->sets;
    }
    HRESULT result = p ? D3D_OK : D3DERR_INVALIDCALL;
    device_->Record(RecordedCallKind::EffectSetTexture, result, 0, 0, 0, texture, p ? p->name : nullptr);
    return result;
}

HRESULT RecordingEffect::SetFloat(D3DXHANDLE handle, float value) {
    Parameter* p = Find(handle, RecordedParameterKind::Float);
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
    Parameter* p = vector ? Find(handle, RecordedParameterKind::Vector) : nullptr;
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
    Parameter* p = matrix ? Find(handle, RecordedParameterKind::Matrix) : nullptr;
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

RecordingEffect* CreateRecordingGameEffect(RecordingDevice* device) {
    auto* effect = new RecordingEffect(device);
    effect->AddParameter("RenderTargetTexture", RecordedParameterKind::Texture);
    effect->AddParameter("RenderTargetWidth", RecordedParameterKind::Float);
    effect->AddParameter("RenderTargetHeight", RecordedParameterKind::Float);
    effect->AddParameter("mWorldViewProjection", RecordedParameterKind::Matrix);
    effect->AddParameter("CamerPosition", RecordedParameterKind::Vector);
    effect->AddParameter("MagicValue", RecordedParameterKind::Float);
    effect->AddParameter("LightPosition", RecordedParameterKind::Vector);
    effect->AddParameter("DistortionPosx", RecordedParameterKind::Float);
    effect->AddParameter("DistortionPosy", RecordedParameterKind::Float);
    effect->AddTechnique("WorldLighting");
    effect->AddTechnique("RenderToShadowPlane");
    return effect;
}
