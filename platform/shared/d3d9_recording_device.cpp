#include "platform/shared/d3d9_recording_device.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
std::atomic<int> liveObjects{0};

D3DMATRIX Identity() {
    D3DMATRIX m = {};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DSURFACE_DESC SurfaceDesc(UINT width, UINT height, D3DFORMAT format, DWORD usage, D3DPOOL pool) {
    D3DSURFACE_DESC desc = {};
    desc.Format = format;
    desc.Type = D3DRTYPE_SURFACE;
    desc.Usage = usage;
    desc.Pool = pool;
    desc.Width = width;
    desc.Height = height;
    return desc;
}

void CopyMatrix(float* out, const D3DMATRIX& m) { std::memcpy(out, &m.m[0][0], 16 * sizeof(float)); }
}  // namespace

int RecordingLiveObjects() { return liveObjects.load(); }

RecordingSurface::RecordingSurface(IUnknown* owner, const D3DSURFACE_DESC& desc) : owner_(owner), desc_(desc) {
    ++liveObjects;
}

RecordingSurface::~RecordingSurface() { --liveObjects; }

HRESULT RecordingSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

RecordingTexture::RecordingTexture(const D3DSURFACE_DESC& desc, const char* label)
    : desc_(desc), surface_(this, desc) {
    if (label != nullptr) std::snprintf(label_, sizeof label_, "%s", label);
    desc_.Type = D3DRTYPE_TEXTURE;
    ++liveObjects;
}

RecordingTexture::~RecordingTexture() { --liveObjects; }

ULONG RecordingTexture::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT RecordingTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (surface == nullptr) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (level != 0) return D3DERR_INVALIDCALL;
    AddRef();
    *surface = &surface_;
    return D3D_OK;
}

HRESULT RecordingTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return surface_.GetDesc(desc);
}

RecordingVertexBuffer::RecordingVertexBuffer(const D3DVERTEXBUFFER_DESC& desc, uint8_t* data)
    : desc_(desc), data_(data) {
    ++liveObjects;
}

RecordingVertexBuffer::~RecordingVertexBuffer() {
    std::free(data_);
    --liveObjects;
}

ULONG RecordingVertexBuffer::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT RecordingVertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) {
    if (data == nullptr) return D3DERR_INVALIDCALL;
    *data = nullptr;
    // Size 0 locks from the offset to the end; an empty or overrunning range fails.
    uint64_t end = sizeToLock == 0 ? desc_.Size : uint64_t{offsetToLock} + sizeToLock;
    if (offsetToLock >= desc_.Size || end > desc_.Size) {
        ++failedLocks;
        return D3DERR_INVALIDCALL;
    }
    ++locks;
    ++lockDepth;
    lastLockFlags = flags;
    *data = data_ + offsetToLock;
    return D3D_OK;
}

HRESULT RecordingVertexBuffer::Unlock() {
    if (lockDepth == 0) return D3DERR_INVALIDCALL;
    --lockDepth;
    ++unlocks;
    return D3D_OK;
}

HRESULT RecordingVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

RecordingDevice::RecordingDevice(UINT backBufferWidth, UINT backBufferHeight)
    : world_(Identity()),
      view_(Identity()),
      projection_(Identity()),
      backBuffer_(this, SurfaceDesc(backBufferWidth, backBufferHeight, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET,
                                    D3DPOOL_DEFAULT)),
      renderTarget_(&backBuffer_),
      log_(new RecordedCall[kRecordingLogCapacity]),
      draws_(new RecordedDraw[kRecordingDrawCapacity]) {
    // Direct3D's documented defaults for the states the game reads or sets.
    renderStates_[D3DRS_ZENABLE] = TRUE;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates_[D3DRS_LIGHTING] = TRUE;
    renderStates_[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    ++liveObjects;
}

RecordingDevice::~RecordingDevice() {
    delete[] log_;
    delete[] draws_;
    --liveObjects;
}

ULONG RecordingDevice::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

#ifdef _WIN32
HRESULT RecordingDevice::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(iid, kRecordingDeviceIid)) return E_NOINTERFACE;
    AddRef();
    *object = this;
    return S_OK;
}
#endif

void RecordingDevice::ClearLog() {
    logSize_ = 0;
    drawSize_ = 0;
    droppedCalls = 0;
}

RecordedCall* RecordingDevice::Record(RecordedCallKind kind, HRESULT result, uint32_t a, uint32_t b, uint32_t c,
                                      const void* object, const char* name) {
    if (logSize_ == kRecordingLogCapacity) {
        ++droppedCalls;
        return nullptr;
    }
    RecordedCall& call = log_[logSize_++];
    call = RecordedCall{kind, result, a, b, c, object, name, {}};
    return &call;
}

HRESULT RecordingDevice::Invalid(RecordedCallKind kind) {
    ++invalidCalls;
    Record(kind, D3DERR_INVALIDCALL);
    return D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                               DWORD stencil) {
    if (count != 0 && rects == nullptr) return Invalid(RecordedCallKind::Clear);
    ++clears;
    if (RecordedCall* call = Record(RecordedCallKind::Clear, D3D_OK, flags, colour, stencil, renderTarget_))
        call->values[0] = z;
    return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
    if (inScene_ || FAILED(beginSceneResult)) {
        HRESULT result = inScene_ ? D3DERR_INVALIDCALL : beginSceneResult;
        ++invalidCalls;
        Record(RecordedCallKind::BeginScene, result);
        return result;
    }
    inScene_ = true;
    ++scenes;
    Record(RecordedCallKind::BeginScene, D3D_OK);
    return D3D_OK;
}

HRESULT RecordingDevice::EndScene() {
    if (!inScene_) return Invalid(RecordedCallKind::EndScene);
    inScene_ = false;
    Record(RecordedCallKind::EndScene, D3D_OK);
    return D3D_OK;
}

HRESULT RecordingDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    ++presents;
    Record(RecordedCallKind::Present, D3D_OK);
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (static_cast<UINT>(state) >= kRecordingRenderStates) return Invalid(RecordedCallKind::SetRenderState);
    renderStates_[state] = value;
    Record(RecordedCallKind::SetRenderState, D3D_OK, state, value);
    return D3D_OK;
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (value == nullptr || static_cast<UINT>(state) >= kRecordingRenderStates) return D3DERR_INVALIDCALL;
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= kRecordingStages) return Invalid(RecordedCallKind::SetTexture);
    textures_[stage] = texture;
    Record(RecordedCallKind::SetTexture, D3D_OK, stage, 0, 0, texture);
    return D3D_OK;
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= kRecordingStages || static_cast<UINT>(type) >= kRecordingStageStates)
        return Invalid(RecordedCallKind::SetTextureStageState);
    stageStates_[stage][type] = value;
    Record(RecordedCallKind::SetTextureStageState, D3D_OK, stage, type, value);
    return D3D_OK;
}

DWORD RecordingDevice::stageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
    return stageStates_[stage % kRecordingStages][static_cast<UINT>(type) % kRecordingStageStates];
}

D3DMATRIX* RecordingDevice::Matrix(D3DTRANSFORMSTATETYPE state) {
    if (state == D3DTS_WORLD) return &world_;
    if (state == D3DTS_VIEW) return &view_;
    if (state == D3DTS_PROJECTION) return &projection_;
    return nullptr;
}

const D3DMATRIX& RecordingDevice::transform(D3DTRANSFORMSTATETYPE state) const {
    if (state == D3DTS_VIEW) return view_;
    if (state == D3DTS_PROJECTION) return projection_;
    return world_;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DMATRIX* target = Matrix(state);
    if (matrix == nullptr || target == nullptr) return Invalid(RecordedCallKind::SetTransform);
    *target = *matrix;
    if (RecordedCall* call = Record(RecordedCallKind::SetTransform, D3D_OK, state)) CopyMatrix(call->values, *matrix);
    return D3D_OK;
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    D3DMATRIX* source = Matrix(state);
    if (matrix == nullptr || source == nullptr) return D3DERR_INVALIDCALL;
    *matrix = *source;
    return D3D_OK;
}

HRESULT RecordingDevice::SetFVF(DWORD fvf) {
    fvf_ = fvf;
    Record(RecordedCallKind::SetFVF, D3D_OK, fvf);
    return D3D_OK;
}

HRESULT RecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes,
                                         UINT stride) {
    if (stream != 0) return Invalid(RecordedCallKind::SetStreamSource);
    stream_ = buffer;
    streamOffset_ = offsetInBytes;
    stride_ = stride;
    Record(RecordedCallKind::SetStreamSource, D3D_OK, offsetInBytes, stride, 0, buffer);
    return D3D_OK;
}

// Whether the vertices the draw reads all lie inside the bound buffer.
bool RecordingDevice::DrawFitsStream(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) const {
    if (stream_ == nullptr || stride_ == 0) return false;
    uint64_t vertices = 0;
    if (type == D3DPT_TRIANGLELIST) vertices = uint64_t{primitiveCount} * 3;
    else if (type == D3DPT_TRIANGLESTRIP) vertices = primitiveCount == 0 ? 0 : uint64_t{primitiveCount} + 2;
    else return false;
    D3DVERTEXBUFFER_DESC desc = {};
    stream_->GetDesc(&desc);
    uint64_t end = streamOffset_ + (uint64_t{startVertex} + vertices) * stride_;
    return end <= desc.Size;
}

void RecordingDevice::RecordDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount, HRESULT result) {
    if (drawSize_ == kRecordingDrawCapacity) return;
    RecordedDraw& d = draws_[drawSize_++];
    d = RecordedDraw{};
    d.type = type;
    d.startVertex = startVertex;
    d.primitiveCount = primitiveCount;
    d.result = result;
    d.fvf = fvf_;
    d.stream = stream_;
    d.stride = stride_;
    d.texture0 = textures_[0];
    d.zEnable = renderStates_[D3DRS_ZENABLE];
    d.zWriteEnable = renderStates_[D3DRS_ZWRITEENABLE];
    d.zFunc = renderStates_[D3DRS_ZFUNC];
    d.alphaBlendEnable = renderStates_[D3DRS_ALPHABLENDENABLE];
    d.srcBlend = renderStates_[D3DRS_SRCBLEND];
    d.destBlend = renderStates_[D3DRS_DESTBLEND];
    d.blendOp = renderStates_[D3DRS_BLENDOP];
    d.inScene = inScene_;
    if (activeEffect != nullptr && activeEffect->inPass()) {
        d.technique = activeEffect->GetCurrentTechnique();
        const RecordingEffect::Parameter* target = activeEffect->parameter("RenderTargetTexture");
        d.effectTexture = target ? target->texture : nullptr;
    }
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    HRESULT result = DrawFitsStream(type, startVertex, primitiveCount) ? D3D_OK : D3DERR_INVALIDCALL;
    if (FAILED(result)) ++invalidCalls;
    else {
        ++draws;
        primitives += primitiveCount;
    }
    Record(RecordedCallKind::DrawPrimitive, result, type, startVertex, primitiveCount, stream_);
    RecordDraw(type, startVertex, primitiveCount, result);
    return result;
}

HRESULT RecordingDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE, IDirect3DSurface9** surface) {
    if (surface == nullptr) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || index != 0) return D3DERR_INVALIDCALL;
    backBuffer_.AddRef();
    *surface = &backBuffer_;
    return D3D_OK;
}

HRESULT RecordingDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    if (surface == nullptr) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index != 0) return D3DERR_INVALIDCALL;
    // Bound targets are remembered by pointer only; the caller keeps them alive.
    renderTarget_->AddRef();
    *surface = renderTarget_;
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    if (index != 0 || surface == nullptr) return Invalid(RecordedCallKind::SetRenderTarget);
    renderTarget_ = surface;
    Record(RecordedCallKind::SetRenderTarget, D3D_OK, index, 0, 0, surface);
    return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer9** buffer, HANDLE*) {
    if (buffer == nullptr) return Invalid(RecordedCallKind::CreateVertexBuffer);
    *buffer = nullptr;
    HRESULT result = createVertexBufferResult;
    if (SUCCEEDED(result) && (length == 0 || length > maxVertexBufferBytes)) result = D3DERR_INVALIDCALL;
    // calloc leaves untouched pages unbacked, so a large buffer costs only what is written.
    uint8_t* data = SUCCEEDED(result) ? static_cast<uint8_t*>(std::calloc(length, 1)) : nullptr;
    if (SUCCEEDED(result) && data == nullptr) result = D3DERR_OUTOFVIDEOMEMORY;
    if (SUCCEEDED(result)) {
        D3DVERTEXBUFFER_DESC desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf};
        *buffer = new RecordingVertexBuffer(desc, data);
    }
    Record(RecordedCallKind::CreateVertexBuffer, result, length, usage, fvf, *buffer);
    return result;
}

HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DTexture9** texture, HANDLE*) {
    if (texture == nullptr) return Invalid(RecordedCallKind::CreateTexture);
    *texture = nullptr;
    if (width == 0 || height == 0 || levels > 1) return Invalid(RecordedCallKind::CreateTexture);
    *texture = new RecordingTexture(SurfaceDesc(width, height, format, usage, pool), nullptr);
    Record(RecordedCallKind::CreateTexture, D3D_OK, width, height, usage, *texture);
    return D3D_OK;
}

HRESULT RecordingDevice::CreateLabelledTexture(UINT width, UINT height, const char* label,
                                               IDirect3DTexture9** texture) {
    if (texture == nullptr || width == 0 || height == 0) return Invalid(RecordedCallKind::CreateTexture);
    auto* created = new RecordingTexture(SurfaceDesc(width, height, D3DFMT_A8R8G8B8, 0, D3DPOOL_MANAGED), label);
    *texture = created;
    Record(RecordedCallKind::CreateTexture, D3D_OK, width, height, 0, created, created->label());
    return D3D_OK;
}

RecordingDirect3D::RecordingDirect3D() { ++liveObjects; }

RecordingDirect3D::~RecordingDirect3D() { --liveObjects; }

ULONG RecordingDirect3D::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT RecordingDirect3D::CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS* parameters,
                                        IDirect3DDevice9** device) {
    if (device == nullptr || parameters == nullptr) return D3DERR_INVALIDCALL;
    *device = nullptr;
    lastParameters = *parameters;
    if (FAILED(createDeviceResult)) return createDeviceResult;
    UINT width = parameters->BackBufferWidth ? parameters->BackBufferWidth : 1280;
    UINT height = parameters->BackBufferHeight ? parameters->BackBufferHeight : 720;
    *device = new RecordingDevice(width, height);
    return D3D_OK;
}
