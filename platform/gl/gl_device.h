// Internal to the OpenGL layer: the Direct3D 9 device on the back end's GL
// 3.3 core (or WebGL 2) context. Render and stage-0 states are recorded here
// and applied to GL at each draw, so the order of Set calls never matters.
// Left out: more than one stream, stage or render target, rectangles in Clear.
#pragma once

#include <d3d9.h>
#include "platform/gl/gl_fixed_function.h"
#include "platform/gl/gl_object.h"
#include "platform/gl/gl_texture.h"

class GlVertexBuffer;

inline constexpr int kRenderStateCount = 256;
inline constexpr int kStageStateCount = 32;

// What an effect saves in Begin and restores in End.
struct GlDeviceStates {
    DWORD render[kRenderStateCount];
    DWORD stage[kStageStateCount];
};

// An effect pass in progress installs one of these in place of the
// fixed-function program.
struct GlProgramBinder {
    virtual void BindProgram() = 0;

protected:
    ~GlProgramBinder() = default;
};

class GlDevice : public GlObject<IDirect3DDevice9> {
public:
    GlDevice(GlContext* context, const D3DPRESENT_PARAMETERS& parameters);
    bool Create();  // false when the fixed-function program cannot be built

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override;
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

    GlContext* Context() const { return context; }
    void SaveStates(GlDeviceStates* states) const;
    void RestoreStates(const GlDeviceStates& states);
    void SetProgramBinder(GlProgramBinder* binder) { programBinder = binder; }
    GlProgramBinder* ProgramBinder() const { return programBinder; }
    // Binds the current render target and sizes the viewport to it.
    void BindRenderTarget();

protected:
    ~GlDevice() override;

private:
    void SetDefaultStates();
    void ApplyRenderStates();
    bool SetUpVertexLayout(UINT vertexSize, UINT endNeeded);
    void BindFixedFunction();
    void HoldTarget(GlSurface* surface);
    void DropTarget();

    GlContext* context;
    D3DPRESENT_PARAMETERS parameters;
    GlSurface backBuffer;
    GlDeviceStates states{};
    D3DMATRIX world{}, view{}, projection{};
    DWORD fvf = 0;
    GlVertexBuffer* stream = nullptr;
    UINT streamOffset = 0;
    UINT streamStride = 0;
    GlTexture* stageTexture = nullptr;
    GlSurface* renderTarget = nullptr;
    GLuint vertexArray = 0;
    GlFixedFunction fixedFunction;
    GlProgramBinder* programBinder = nullptr;
    bool inScene = false;
};

// Bytes per vertex of a supported FVF (position, normal, diffuse, one
// texture coordinate pair), or 0 for any other combination.
UINT VertexSizeOfFvf(DWORD fvf);
