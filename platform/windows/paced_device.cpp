#include "platform/windows/paced_device.h"

#include "platform/shared/frame_pacer.h"
#include "platform/windows/com_query.h"
#include "platform/windows/copied_vertex_buffer.h"
#include "platform/windows/paced_direct3d.h"

PacedDevice::PacedDevice(PacedDirect3D* parent, IDirect3DDevice9* real) : real(real), parent(parent) {
    parent->AddRef();
}

PacedDevice::~PacedDevice() {
    for (UINT stream = 0; stream < kStreams; ++stream) BindStream(stream, nullptr);
    real->Release();
    parent->Release();
}

void PacedDevice::BindStream(UINT stream, CopiedVertexBuffer* buffer) {
    if (buffer) buffer->Bind();
    if (streams[stream]) streams[stream]->Unbind();
    streams[stream] = buffer;
}

void PacedDevice::UploadStreams() {
    for (CopiedVertexBuffer* buffer : streams)
        if (buffer) buffer->Upload();
}

// Anything else (a recording device's interface, Direct3D 9Ex) is not this
// device's to give.
HRESULT PacedDevice::QueryInterface(REFIID riid, void** object) {
    return AnswerQuery(this, riid, object, {IID_IUnknown, IID_IDirect3DDevice9});
}

ULONG PacedDevice::AddRef() { return ++references; }

ULONG PacedDevice::Release() {
    const ULONG left = --references;
    if (left == 0) delete this;
    return left;
}

HRESULT PacedDevice::GetDirect3D(IDirect3D9** direct3d) {
    if (direct3d == nullptr) return D3DERR_INVALIDCALL;
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT PacedDevice::Present(const RECT* src_rect, const RECT* dst_rect, HWND dst_window_override,
                             const RGNDATA* dirty_region) {
    const HRESULT status = real->Present(src_rect, dst_rect, dst_window_override, dirty_region);
    PaceFrame();
    return status;
}

HRESULT PacedDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                        IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) {
    if (ppVertexBuffer == nullptr) return D3DERR_INVALIDCALL;
    IDirect3DVertexBuffer9* created = nullptr;
    const HRESULT status = real->CreateVertexBuffer(Length, Usage, FVF, Pool, &created, pSharedHandle);
    if (FAILED(status)) {
        *ppVertexBuffer = nullptr;
        return status;
    }
    *ppVertexBuffer = CopiedVertexBuffer::Create(this, created, Length);
    return *ppVertexBuffer ? status : E_OUTOFMEMORY;
}

HRESULT PacedDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                                     UINT Stride) {
    CopiedVertexBuffer* copied = CopiedVertexBuffer::From(pStreamData);
    const HRESULT status = real->SetStreamSource(StreamNumber, copied ? copied->Real() : pStreamData, OffsetInBytes, Stride);
    if (SUCCEEDED(status) && StreamNumber < kStreams) BindStream(StreamNumber, copied);
    return status;
}

HRESULT PacedDevice::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* OffsetInBytes,
                                     UINT* pStride) {
    const HRESULT status = real->GetStreamSource(StreamNumber, ppStreamData, OffsetInBytes, pStride);
    // The game is given back the buffer it set, not the system's behind it.
    if (SUCCEEDED(status) && StreamNumber < kStreams && streams[StreamNumber] && *ppStreamData) {
        (*ppStreamData)->Release();
        streams[StreamNumber]->AddRef();
        *ppStreamData = streams[StreamNumber];
    }
    return status;
}

HRESULT PacedDevice::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    UploadStreams();
    return real->DrawPrimitive(PrimitiveType, StartVertex, PrimitiveCount);
}

HRESULT PacedDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT MinVertexIndex,
                                          UINT NumVertices, UINT startIndex, UINT primCount) {
    UploadStreams();
    return real->DrawIndexedPrimitive(Type, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex, primCount);
}

// Drawing from memory leaves stream 0 unset in Direct3D 9.
HRESULT PacedDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                     const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    const HRESULT status = real->DrawPrimitiveUP(PrimitiveType, PrimitiveCount, pVertexStreamZeroData, VertexStreamZeroStride);
    if (SUCCEEDED(status)) BindStream(0, nullptr);
    return status;
}

HRESULT PacedDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertices,
                                            UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                            const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    const HRESULT status = real->DrawIndexedPrimitiveUP(PrimitiveType, MinVertexIndex, NumVertices, PrimitiveCount,
                                                        pIndexData, IndexDataFormat, pVertexStreamZeroData,
                                                        VertexStreamZeroStride);
    if (SUCCEEDED(status)) BindStream(0, nullptr);
    return status;
}

HRESULT PacedDevice::ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount,
                                     IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl,
                                     DWORD Flags) {
    UploadStreams();
    CopiedVertexBuffer* copied = CopiedVertexBuffer::From(pDestBuffer);
    if (copied) copied->Upload();
    const HRESULT status = real->ProcessVertices(SrcStartIndex, DestIndex, VertexCount,
                                                 copied ? copied->Real() : pDestBuffer, pVertexDecl, Flags);
    if (SUCCEEDED(status) && copied) copied->Reload();
    return status;
}

HRESULT PacedDevice::DrawRectPatch(UINT handle, const float* segment_count, const D3DRECTPATCH_INFO* patch_info) {
    UploadStreams();
    return real->DrawRectPatch(handle, segment_count, patch_info);
}

HRESULT PacedDevice::DrawTriPatch(UINT handle, const float* segment_count, const D3DTRIPATCH_INFO* patch_info) {
    UploadStreams();
    return real->DrawTriPatch(handle, segment_count, patch_info);
}
