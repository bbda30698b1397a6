// A headless Direct3D 9 device and D3DX effect for tests, the replay tool and
// soak runs: keeps the current state, counters and a bounded call log, holds
// vertex buffers in CPU memory. Produces no pixels and never allocates per call.
#pragma once

#include <cstdint>

#include <d3d9.h>
#include <d3dx9.h>
#include "platform/shared/d3d9_sdk_bases.h"
#include "platform/shared/effect_file.h"

inline constexpr UINT kRecordingStages = 8;
inline constexpr UINT kRecordingRenderStates = 256;
inline constexpr UINT kRecordingStageStates = 32;
inline constexpr UINT kRecordingLogCapacity = 4096;
inline constexpr UINT kRecordingDrawCapacity = 1024;
inline constexpr UINT kRecordingMaxParameters = 16;
inline constexpr UINT kRecordingMaxTechniques = 4;
inline constexpr UINT kRecordingNameSize = 64;  // texture labels, parameter and technique names

enum class RecordedCallKind : uint8_t {
    Clear,
    BeginScene,
    EndScene,
    Present,
    SetRenderState,
    SetTexture,
    SetTextureStageState,
    SetTransform,
    SetFVF,
    SetStreamSource,
    DrawPrimitive,
    SetRenderTarget,
    CreateVertexBuffer,
    CreateTexture,
    EffectSetTechnique,
    EffectSetTexture,
    EffectSetFloat,
    EffectSetVector,
    EffectSetMatrix,
    EffectBegin,
    EffectBeginPass,
    EffectEndPass,
    EffectEnd,
};

// One call as made. a, b, c hold the integer arguments in order; object the
// texture, buffer or surface; name the effect parameter or technique.
struct RecordedCall {
    RecordedCallKind kind;
    HRESULT result;
    uint32_t a, b, c;
    const void* object;
    const char* name;
    float values[16];
};

// A draw and the state it was drawn with. technique is null unless an effect
// pass was open; effectTexture is that effect's "RenderTargetTexture".
struct RecordedDraw {
    D3DPRIMITIVETYPE type;
    UINT startVertex;
    UINT primitiveCount;
    HRESULT result;
    DWORD fvf;
    const IDirect3DVertexBuffer9* stream;
    UINT stride;
    const IDirect3DBaseTexture9* texture0;
    DWORD zEnable, zWriteEnable, zFunc;
    DWORD alphaBlendEnable, srcBlend, destBlend, blendOp;
    const char* technique;
    const IDirect3DBaseTexture9* effectTexture;
    bool inScene;
};

// Live recording objects of every kind; 0 once everything is released.
int RecordingLiveObjects();

class RecordingSurface final : public D3D9SurfaceBase {
public:
    // owner carries the reference count (the texture or device it belongs to).
    RecordingSurface(IUnknown* owner, const D3DSURFACE_DESC& desc);
    ~RecordingSurface() override;
    ULONG AddRef() override { return owner_->AddRef(); }
    ULONG Release() override { return owner_->Release(); }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;

private:
    IUnknown* owner_;
    D3DSURFACE_DESC desc_;
};

class RecordingTexture final : public D3D9TextureBase {
public:
    RecordingTexture(const D3DSURFACE_DESC& desc, const char* label);
    ~RecordingTexture() override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    const char* label() const { return label_; }

private:
    ULONG references_ = 1;
    D3DSURFACE_DESC desc_;
    char label_[kRecordingNameSize] = {};  // cut short if longer
    RecordingSurface surface_;
};

class RecordingVertexBuffer final : public D3D9VertexBufferBase {
public:
    // data is zeroed memory of desc.Size bytes; the buffer frees it.
    RecordingVertexBuffer(const D3DVERTEXBUFFER_DESC& desc, uint8_t* data);
    ~RecordingVertexBuffer() override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    const uint8_t* data() const { return data_; }
    UINT size() const { return desc_.Size; }
    uint64_t locks = 0;
    uint64_t failedLocks = 0;
    uint64_t unlocks = 0;
    DWORD lastLockFlags = 0;
    int lockDepth = 0;

private:
    ULONG references_ = 1;
    D3DVERTEXBUFFER_DESC desc_;
    uint8_t* data_;
};

class RecordingEffect;

#ifdef _WIN32
// The system's Direct3D objects carry no C++ type information, so Windows code
// tells a recording device by asking it for this interface, which only it answers.
inline constexpr GUID kRecordingDeviceIid = {0x6a1f3c52, 0x9d0e, 0x4b7a, {0x8f, 0x21, 0x5c, 0x3e, 0x77, 0x0b, 0xd4, 0x19}};
#endif

class RecordingDevice final : public D3D9DeviceBase {
public:
    RecordingDevice(UINT backBufferWidth, UINT backBufferHeight);
    ~RecordingDevice() override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
#ifdef _WIN32
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
#endif

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const RGNDATA* dirtyRegion) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes, UINT stride) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* sharedHandle) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* sharedHandle) override;

    // A texture with a readable label (copied), for the bitmaps D3DX loads for it.
    HRESULT CreateLabelledTexture(UINT width, UINT height, const char* label, IDirect3DTexture9** texture);

    // The log keeps the first entries after the last ClearLog; later ones are
    // only counted, so a long run stays bounded.
    void ClearLog();
    UINT logSize() const { return logSize_; }
    const RecordedCall& logEntry(UINT i) const { return log_[i]; }
    UINT drawSize() const { return drawSize_; }
    const RecordedDraw& draw(UINT i) const { return draws_[i]; }
    uint64_t droppedCalls = 0;

    // Current state, as the next draw would use it.
    DWORD renderState(D3DRENDERSTATETYPE state) const { return renderStates_[state % kRecordingRenderStates]; }
    DWORD stageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
    const IDirect3DBaseTexture9* texture(DWORD stage) const { return textures_[stage % kRecordingStages]; }
    const D3DMATRIX& transform(D3DTRANSFORMSTATETYPE state) const;
    DWORD fvf() const { return fvf_; }
    const IDirect3DVertexBuffer9* streamSource() const { return stream_; }
    UINT streamStride() const { return stride_; }
    const IDirect3DSurface9* renderTarget() const { return renderTarget_; }
    bool inScene() const { return inScene_; }

    // Totals since creation.
    uint64_t clears = 0, scenes = 0, presents = 0;
    uint64_t draws = 0, primitives = 0, invalidCalls = 0;
    HRESULT beginSceneResult = D3D_OK;         // a failure status makes BeginScene fail
    HRESULT createVertexBufferResult = D3D_OK; // likewise for CreateVertexBuffer
    UINT maxVertexBufferBytes = 256u * 1024u * 1024u;

    // The effect whose Begin is open, for the draw records; set by RecordingEffect.
    RecordingEffect* activeEffect = nullptr;
    RecordedCall* Record(RecordedCallKind kind, HRESULT result, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0,
                         const void* object = nullptr, const char* name = nullptr);

private:
    HRESULT Invalid(RecordedCallKind kind);
    D3DMATRIX* Matrix(D3DTRANSFORMSTATETYPE state);
    bool DrawFitsStream(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) const;
    void RecordDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount, HRESULT result);

    ULONG references_ = 1;
    DWORD renderStates_[kRecordingRenderStates] = {};
    DWORD stageStates_[kRecordingStages][kRecordingStageStates] = {};
    IDirect3DBaseTexture9* textures_[kRecordingStages] = {};
    D3DMATRIX world_, view_, projection_;
    DWORD fvf_ = 0;
    IDirect3DVertexBuffer9* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT stride_ = 0;
    bool inScene_ = false;
    RecordingSurface backBuffer_;
    IDirect3DSurface9* renderTarget_ = nullptr;
    RecordedCall* log_;
    UINT logSize_ = 0;
    RecordedDraw* draws_;
    UINT drawSize_ = 0;
};

// Parameters and techniques by name; handles are the effect's own copies of
// the names, and a name string is accepted wherever a handle is.

class RecordingEffect final : public ID3DXEffect {
public:
    struct Parameter {
        char name[kRecordingNameSize];
        EffectParameterKind kind;
        IDirect3DBaseTexture9* texture;
        float values[16];
        uint32_t sets;
    };

    // Holds a reference on the device, as a loaded effect does.
    explicit RecordingEffect(RecordingDevice* device);
    ~RecordingEffect() override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;

    // Names are copied; false when full or a name is too long. The first
    // technique added is the current one, as after loading.
    bool AddParameter(const char* name, EffectParameterKind kind);
    bool AddTechnique(const char* name);

    D3DXHANDLE GetParameterByName(D3DXHANDLE parent, const char* name) override;
    D3DXHANDLE GetTechniqueByName(const char* name) override;
    HRESULT SetTechnique(D3DXHANDLE technique) override;
    D3DXHANDLE GetCurrentTechnique() override { return technique_; }
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
    HRESULT SetFloat(D3DXHANDLE parameter, float value) override;
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT Begin(UINT* passes, DWORD flags) override;
    HRESULT BeginPass(UINT pass) override;
    HRESULT EndPass() override;
    HRESULT End() override;
    HRESULT OnLostDevice() override;

    // Null for an unknown name.
    const Parameter* parameter(const char* name) const;
    bool begun() const { return begun_; }
    bool inPass() const { return inPass_; }
    uint64_t begins = 0, passes = 0, misorderedCalls = 0, lostDeviceCalls = 0;

private:
    Parameter* Find(D3DXHANDLE handle, EffectParameterKind kind);
    HRESULT Misordered(RecordedCallKind kind);

    ULONG references_ = 1;
    RecordingDevice* device_;
    Parameter parameters_[kRecordingMaxParameters] = {};
    UINT parameterCount_ = 0;
    char techniques_[kRecordingMaxTechniques][kRecordingNameSize] = {};
    UINT techniqueCount_ = 0;
    D3DXHANDLE technique_ = nullptr;
    bool begun_ = false;
    bool inPass_ = false;
};

// What D3DXCreateEffectFromFileW builds for a recording device: an effect with
// the file's parameters and techniques (its programs are not run). Null when
// the file declares more than the effect holds.
RecordingEffect* CreateRecordingEffect(RecordingDevice* device, const EffectFileDescription& description);

class RecordingDirect3D final : public D3D9Direct3DBase {
public:
    RecordingDirect3D();
    ~RecordingDirect3D() override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
    // The back buffer takes the requested size (1280 x 720 when 0 is asked).
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DDevice9** device) override;
    D3DPRESENT_PARAMETERS lastParameters = {};
    HRESULT createDeviceResult = D3D_OK;

private:
    ULONG references_ = 1;
};
