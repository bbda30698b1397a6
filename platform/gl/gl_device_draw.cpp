// Drawing, render targets and resource creation of the GL device.
#include <cstdint>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_draw_options.h"
#include "platform/gl/gl_shader.h"
#include "platform/gl/gl_vertex_buffer.h"

namespace {
GLenum BlendFactorOf(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        default: return GL_ONE;
    }
}

GLenum BlendEquationOf(DWORD op) {
    if (op == D3DBLENDOP_SUBTRACT) return GL_FUNC_SUBTRACT;
    if (op == D3DBLENDOP_REVSUBTRACT) return GL_FUNC_REVERSE_SUBTRACT;
    return GL_FUNC_ADD;
}

// D3DCMP_NEVER..D3DCMP_ALWAYS run in the same order as GL_NEVER..GL_ALWAYS.
GLenum CompareFunctionOf(DWORD compare) {
    if (compare < D3DCMP_NEVER || compare > D3DCMP_ALWAYS) return GL_LEQUAL;
    return GL_NEVER + (compare - D3DCMP_NEVER);
}

void Enable(GLenum capability, bool on) {
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

// Both name the winding as it looks on screen; with GL's counter-clockwise
// front faces, Direct3D's D3DCULL_CCW culls GL's front faces.
void ApplyCullMode(DWORD mode) {
    Enable(GL_CULL_FACE, mode == D3DCULL_CW || mode == D3DCULL_CCW);
    glFrontFace(GL_CCW);
    glCullFace(mode == D3DCULL_CCW ? GL_FRONT : GL_BACK);
}

void Attribute(GLuint slot, GLint size, GLenum type, GLboolean normalised, UINT stride, uintptr_t offset) {
    glEnableVertexAttribArray(slot);
    glVertexAttribPointer(slot, size, type, normalised, static_cast<GLsizei>(stride),
                          reinterpret_cast<const void*>(offset));
}

void MissingAttribute(GLuint slot, float x, float y, float z, float w) {
    glDisableVertexAttribArray(slot);
    glVertexAttrib4f(slot, x, y, z, w);
}

// The pieces help Mesa's software rasteriser; on WebGL each would be a call of its own.
unsigned stripPieceLength = kGlWebGl2 ? 0 : kGlDefaultStripPieceLength;
GlDrawCounts drawCounts;
GlDrawFilter drawFilter = nullptr;

void MultiDrawStrips(const GLint* firsts, const GLsizei* counts, int pieces) {
#if defined(QF_GL_WEBGL2)
    for (int i = 0; i < pieces; ++i) glDrawArrays(GL_TRIANGLE_STRIP, firsts[i], counts[i]);
    drawCounts.calls += static_cast<unsigned>(pieces);
#else
    glMultiDrawArrays(GL_TRIANGLE_STRIP, firsts, counts, pieces);
    drawCounts.calls += 1;
#endif
    drawCounts.draws += static_cast<unsigned>(pieces);
}

// Every piece starts an even number of vertices after the strip's first and
// overlaps the one before by two, so together they hold exactly the strip's
// triangles, each with its vertices in the same order and the same winding.
void DrawStripInPieces(GLint first, GLsizei count, GLsizei piece) {
    constexpr int kPiecesPerCall = 256;
    GLint firsts[kPiecesPerCall];
    GLsizei counts[kPiecesPerCall];
    int pieces = 0;
    for (GLsizei done = 0; done + 2 < count; done += piece - 2) {
        firsts[pieces] = first + done;
        counts[pieces] = count - done < piece ? count - done : piece;
        if (++pieces == kPiecesPerCall) {
            MultiDrawStrips(firsts, counts, pieces);
            pieces = 0;
        }
    }
    if (pieces > 0) MultiDrawStrips(firsts, counts, pieces);
}
}  // namespace

void SetGlStripPieceLength(unsigned vertices) { stripPieceLength = vertices < 4 ? 0 : vertices & ~1u; }
unsigned GlStripPieceLength() { return stripPieceLength; }
GlDrawCounts GlDrawCountsSoFar() { return drawCounts; }
void SetGlDrawFilter(GlDrawFilter filter) { drawFilter = filter; }

void GlDevice::ApplyRenderStates() {
    const DWORD* r = states.render;
    Enable(GL_DEPTH_TEST, r[D3DRS_ZENABLE] != FALSE);
    glDepthMask(r[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    glDepthFunc(CompareFunctionOf(r[D3DRS_ZFUNC]));
    Enable(GL_BLEND, r[D3DRS_ALPHABLENDENABLE] != FALSE);
    glBlendFunc(BlendFactorOf(r[D3DRS_SRCBLEND]), BlendFactorOf(r[D3DRS_DESTBLEND]));
    glBlendEquation(BlendEquationOf(r[D3DRS_BLENDOP]));
    ApplyCullMode(r[D3DRS_CULLMODE]);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

// The colour is ARGB in memory order B, G, R, A, which GL_BGRA reads as is;
// WebGL 2 has no GL_BGRA size, so there the vertex program swizzles.
bool GlDevice::SetUpVertexLayout(UINT vertexSize, UINT endNeeded) {
    if (streamStride < vertexSize) return false;
    glBindVertexArray(vertexArray);
    if (!stream->BindForDraw(endNeeded)) return false;
    uintptr_t offset = streamOffset;
    Attribute(kAttribPosition, 3, GL_FLOAT, GL_FALSE, streamStride, offset);
    offset += 12;
    if (fvf & D3DFVF_NORMAL) {
        Attribute(kAttribNormal, 3, GL_FLOAT, GL_FALSE, streamStride, offset);
        offset += 12;
    } else {
        MissingAttribute(kAttribNormal, 0.0f, 0.0f, 0.0f, 0.0f);
    }
    if (fvf & D3DFVF_DIFFUSE) {
#if defined(QF_GL_WEBGL2)
        Attribute(kAttribColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, streamStride, offset);
#else
        Attribute(kAttribColour, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, streamStride, offset);
#endif
        offset += 4;
    } else {
        MissingAttribute(kAttribColour, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (fvf & D3DFVF_TEX1)
        Attribute(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, streamStride, offset);
    else
        MissingAttribute(kAttribTexCoord, 0.0f, 0.0f, 0.0f, 0.0f);
    return true;
}

void GlDevice::BindFixedFunction() {
    const DWORD* s = states.stage;
    GlFixedFunctionState state{world, view, projection, s[D3DTSS_COLOROP], s[D3DTSS_COLORARG1],
                               s[D3DTSS_COLORARG2], s[D3DTSS_ALPHAOP], s[D3DTSS_ALPHAARG1], s[D3DTSS_ALPHAARG2],
                               stageTexture != nullptr};
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, stageTexture ? stageTexture->Name() : 0);
    fixedFunction.Bind(state);
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP) return D3DERR_INVALIDCALL;
    UINT vertexSize = VertexSizeOfFvf(fvf);
    if (stream == nullptr || vertexSize == 0) return D3DERR_INVALIDCALL;
    if (primitiveCount == 0) return D3D_OK;
    uint64_t vertices = type == D3DPT_TRIANGLELIST ? 3ull * primitiveCount : primitiveCount + 2ull;
    uint64_t end = streamOffset + (startVertex + vertices - 1) * streamStride + vertexSize;
    if (end > stream->Length() || !SetUpVertexLayout(vertexSize, static_cast<UINT>(end))) return D3DERR_INVALIDCALL;
    if (drawFilter && !drawFilter(type == D3DPT_TRIANGLESTRIP, static_cast<unsigned>(vertices))) return D3D_OK;
    BindRenderTarget();
    ApplyRenderStates();
    if (programBinder)
        programBinder->BindProgram();
    else
        BindFixedFunction();
    const GLint first = static_cast<GLint>(startVertex);
    const GLsizei count = static_cast<GLsizei>(vertices);
    if (type == D3DPT_TRIANGLESTRIP && stripPieceLength != 0 && vertices > stripPieceLength) {
        DrawStripInPieces(first, count, static_cast<GLsizei>(stripPieceLength));
    } else {
        glDrawArrays(type == D3DPT_TRIANGLELIST ? GL_TRIANGLES : GL_TRIANGLE_STRIP, first, count);
        drawCounts.calls += 1;
        drawCounts.draws += 1;
    }
    return D3D_OK;
}

HRESULT GlDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
    if (surface == nullptr) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO) return D3DERR_INVALIDCALL;
    backBuffer.AddRef();
    *surface = &backBuffer;
    return D3D_OK;
}

HRESULT GlDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    if (surface == nullptr) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index != 0) return D3DERR_INVALIDCALL;
    renderTarget->AddRef();
    *surface = renderTarget;
    return D3D_OK;
}

// The back buffer shares the device's count, so the device never holds it:
// that would keep the device alive forever.
void GlDevice::HoldTarget(GlSurface* surface) {
    if (surface != &backBuffer) surface->AddRef();
    renderTarget = surface;
}

void GlDevice::DropTarget() {
    GlSurface* old = renderTarget;
    renderTarget = &backBuffer;
    if (old != &backBuffer) old->Release();
}

HRESULT GlDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    GlSurface* next = surface ? dynamic_cast<GlSurface*>(surface) : nullptr;
    if (index != 0 || next == nullptr || !next->IsRenderTarget()) return D3DERR_INVALIDCALL;
    GlSurface* old = renderTarget;
    HoldTarget(next);
    if (old != &backBuffer) old->Release();
    return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD bufferFvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, HANDLE*) {
    if (buffer == nullptr) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0) return D3DERR_INVALIDCALL;
    auto* created = new GlVertexBuffer(context, length, usage, bufferFvf, pool);
    if (!created->Valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT GlDevice::CreateTexture(UINT width, UINT height, UINT, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture9** texture, HANDLE*) {
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width == 0 || height == 0 || width > static_cast<UINT>(largest) || height > static_cast<UINT>(largest) ||
        !IsSupportedTextureFormat(format))
        return D3DERR_INVALIDCALL;
    auto* created = new GlTexture(context, width, height, usage, format, pool, nullptr);
    if (!created->Valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
}
