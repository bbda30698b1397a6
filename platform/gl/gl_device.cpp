#include "platform/gl/gl_device.h"

#include <cstring>

#include "platform/gl/gl_vertex_buffer.h"

namespace {
constexpr DWORD kKnownFvfBits = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DSURFACE_DESC BackBufferDesc(const D3DPRESENT_PARAMETERS& p, const GlContext& context) {
    int width = static_cast<int>(p.BackBufferWidth), height = static_cast<int>(p.BackBufferHeight);
    if (width == 0 || height == 0) backend::GlDrawableSize(context, &width, &height);
    D3DFORMAT format = p.BackBufferFormat == D3DFMT_UNKNOWN ? D3DFMT_X8R8G8B8 : p.BackBufferFormat;
    return {format, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, D3DMULTISAMPLE_NONE, 0,
            static_cast<UINT>(width), static_cast<UINT>(height)};
}

float Channel(D3DCOLOR colour, int shift) { return static_cast<float>((colour >> shift) & 0xff) / 255.0f; }
}  // namespace

UINT VertexSizeOfFvf(DWORD fvf) {
    if ((fvf & ~kKnownFvfBits) != 0 || (fvf & D3DFVF_XYZ) == 0) return 0;
    return 12 + ((fvf & D3DFVF_NORMAL) ? 12 : 0) + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0) + ((fvf & D3DFVF_TEX1) ? 8 : 0);
}

GlDevice::GlDevice(GlContext* context_, const D3DPRESENT_PARAMETERS& parameters_)
    : context(context_), parameters(parameters_), backBuffer(this, 0, BackBufferDesc(parameters_, *context_)) {
    HoldContext(context);
    world = view = projection = IdentityMatrix();
    renderTarget = &backBuffer;
    SetDefaultStates();
}

bool GlDevice::Create() {
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    return fixedFunction.Create();
}

GlDevice::~GlDevice() {
    SetStreamSource(0, nullptr, 0, 0);
    SetTexture(0, nullptr);
    DropTarget();
    fixedFunction.Destroy();
    if (vertexArray != 0) glDeleteVertexArrays(1, &vertexArray);
    DropContext(context);
}

void GlDevice::SetDefaultStates() {
    DWORD* r = states.render;
    r[D3DRS_ZENABLE] = parameters.EnableAutoDepthStencil ? TRUE : FALSE;
    r[D3DRS_ZWRITEENABLE] = TRUE;
    r[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    r[D3DRS_ALPHABLENDENABLE] = FALSE;
    r[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    r[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    r[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    r[D3DRS_CULLMODE] = D3DCULL_CCW;
    r[D3DRS_LIGHTING] = TRUE;
    DWORD* s = states.stage;
    s[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
}

void GlDevice::SaveStates(GlDeviceStates* out) const { *out = states; }
void GlDevice::RestoreStates(const GlDeviceStates& in) { states = in; }

void GlDevice::BindRenderTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, renderTarget->Framebuffer());
    int width = static_cast<int>(renderTarget->Width()), height = static_cast<int>(renderTarget->Height());
    if (renderTarget == &backBuffer) backend::GlDrawableSize(*context, &width, &height);
    glViewport(0, 0, width, height);
}

HRESULT GlDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD) {
    if ((count != 0 && rects != nullptr) || (flags & D3DCLEAR_STENCIL)) return D3DERR_INVALIDCALL;
    BindRenderTarget();
    glDisable(GL_SCISSOR_TEST);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(Channel(colour, 16), Channel(colour, 8), Channel(colour, 0), Channel(colour, 24));
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);  // Direct3D clears depth whatever the write state
#if defined(QF_GL_WEBGL2)
        glClearDepthf(z);
#else
        glClearDepth(z);
#endif
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask != 0) glClear(mask);
    return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
    if (inScene) return D3DERR_INVALIDCALL;
    inScene = true;
    return D3D_OK;
}

HRESULT GlDevice::EndScene() {
    if (!inScene) return D3DERR_INVALIDCALL;
    inScene = false;
    return D3D_OK;
}

HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    if (inScene) return D3DERR_INVALIDCALL;
    backend::GlSwapBuffers(*context);
    return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (static_cast<unsigned>(state) >= kRenderStateCount) return D3DERR_INVALIDCALL;
    states.render[state] = value;
    return D3D_OK;
}

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (static_cast<unsigned>(state) >= kRenderStateCount || value == nullptr) return D3DERR_INVALIDCALL;
    *value = states.render[state];
    return D3D_OK;
}

HRESULT GlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    GlTexture* next = texture ? AsGlTexture(texture) : nullptr;
    if (stage != 0 || (texture != nullptr && next == nullptr)) return D3DERR_INVALIDCALL;
    if (next) next->AddRef();
    if (stageTexture) stageTexture->Release();
    stageTexture = next;
    return D3D_OK;
}

HRESULT GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage != 0 || static_cast<unsigned>(type) >= kStageStateCount) return D3DERR_INVALIDCALL;
    states.stage[type] = value;
    return D3D_OK;
}

HRESULT GlDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix == nullptr) return D3DERR_INVALIDCALL;
    D3DMATRIX* target = state == D3DTS_WORLD ? &world : state == D3DTS_VIEW ? &view
                        : state == D3DTS_PROJECTION ? &projection : nullptr;
    if (target == nullptr) return D3DERR_INVALIDCALL;
    *target = *matrix;
    return D3D_OK;
}

HRESULT GlDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (matrix == nullptr) return D3DERR_INVALIDCALL;
    const D3DMATRIX* source = state == D3DTS_WORLD ? &world : state == D3DTS_VIEW ? &view
                              : state == D3DTS_PROJECTION ? &projection : nullptr;
    if (source == nullptr) return D3DERR_INVALIDCALL;
    *matrix = *source;
    return D3D_OK;
}

HRESULT GlDevice::SetFVF(DWORD value) {
    if (VertexSizeOfFvf(value) == 0) return D3DERR_INVALIDCALL;
    fvf = value;
    return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(UINT index, IDirect3DVertexBuffer9* buffer, UINT offsetInBytes, UINT stride) {
    GlVertexBuffer* next = buffer ? dynamic_cast<GlVertexBuffer*>(buffer) : nullptr;
    if (index != 0 || (buffer != nullptr && next == nullptr)) return D3DERR_INVALIDCALL;
    if (next) next->AddRef();
    if (stream) stream->Release();
    stream = next;
    streamOffset = offsetInBytes;
    streamStride = stride;
    return D3D_OK;
}
