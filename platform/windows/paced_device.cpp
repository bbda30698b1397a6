#include "platform/windows/paced_device.h"

#include <cstdint>
#include <cstring>

#include "platform/shared/frame_pacer.h"
#include "platform/windows/com_query.h"
#include "platform/windows/copied_vertex_buffer.h"
#include "platform/windows/paced_direct3d.h"

PacedDevice::PacedDevice(PacedDirect3D* parent, IDirect3DDevice9* real, bool softwareInHardware)
    : real(real), parent(parent), softwareInHardware(softwareInHardware) {
    parent->AddRef();
    MakeRing();
}

PacedDevice::~PacedDevice() {
    if (lastFrameEnd) lastFrameEnd->Release();
    if (ring) ring->Release();
    for (UINT stream = 0; stream < kStreams; ++stream) BindStream(stream, nullptr);
    real->Release();
    parent->Release();
}

void PacedDevice::BindStream(UINT stream, CopiedVertexBuffer* buffer) {
    if (buffer) buffer->Bind();
    if (streams[stream].copied) streams[stream].copied->Unbind();
    streams[stream].copied = buffer;
}

void PacedDevice::RestoreStream0() {
    if (stream0 == Stream0::AsSet) return;
    stream0 = Stream0::AsSet;
    const Stream& stream = streams[0];
    real->SetStreamSource(0, stream.copied->Real(), stream.offset, stream.stride);
}

void PacedDevice::UploadStreams() {
    RestoreStream0();
    for (const Stream& stream : streams)
        if (stream.copied) stream.copied->Upload();
}

bool PacedDevice::DrawnRange(D3DPRIMITIVETYPE type, UINT start, UINT count, UINT* begin, UINT* end) const {
    const Stream& stream = streams[0];
    if (stream.copied == nullptr || stream.stride == 0 || count == 0 || dividedStreams > 0) return false;
    for (UINT other = 1; other < kStreams; ++other)
        if (streams[other].bound) return false;
    uint64_t vertices = 0;
    switch (type) {
        case D3DPT_POINTLIST: vertices = count; break;
        case D3DPT_LINELIST: vertices = 2ull * count; break;
        case D3DPT_LINESTRIP: vertices = count + 1ull; break;
        case D3DPT_TRIANGLELIST: vertices = 3ull * count; break;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: vertices = count + 2ull; break;
        default: return false;
    }
    // Past the end the system's own draw gives its answer.
    const uint64_t first = stream.offset + static_cast<uint64_t>(start) * stream.stride;
    const uint64_t last = first + vertices * stream.stride;
    if (last > stream.copied->Length()) return false;
    *begin = static_cast<UINT>(first);
    *end = static_cast<UINT>(last);
    return true;
}

bool PacedDevice::UploadToRing(UINT begin, UINT end, UINT* firstVertex) {
    CopiedVertexBuffer* buffer = streams[0].copied;
    const UINT stride = streams[0].stride;
    const uint64_t version = buffer->Version();
    if (ringHolds.version == version && ringHolds.begin == begin && ringHolds.end == end && ringHolds.stride == stride) {
        *firstVertex = ringHolds.firstVertex;
        return true;
    }
    const UINT size = end - begin;
    if (ring == nullptr || size > kRingLength) return false;
    // Whole vertices from the ring's start, after everything queued draws read.
    UINT at = (ringCursor + stride - 1) / stride * stride;
    DWORD flags = D3DLOCK_NOOVERWRITE;
    if (ringCursor == 0 || at > kRingLength || size > kRingLength - at) {
        at = 0;
        flags = D3DLOCK_DISCARD;
    }
    void* data = nullptr;
    if (FAILED(ring->Lock(at, size, &data, flags))) return false;
    std::memcpy(data, buffer->Copy() + begin, size);
    ring->Unlock();
    ringCursor = at + size;
    ringHolds = {version, begin, end, stride, at / stride};
    *firstVertex = at / stride;
    return true;
}


// Without it (the system would not make one) draws take the slower ways.
void PacedDevice::MakeRing() {
    if (FAILED(real->CreateVertexBuffer(kRingLength, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &ring,
                                        nullptr)))
        ring = nullptr;
    ringCursor = 0;
    ringHolds = {};
}

// The ring lives in the device's own memory, which a reset requires let go.
HRESULT PacedDevice::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
    RestoreStream0();
    if (ring) ring->Release();
    ring = nullptr;
    const HRESULT status = real->Reset(pPresentationParameters);
    MakeRing();
    return status;
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

// Wine's Present waits for its Direct3D thread by spinning on a processor
// while it still has a frame queued, taking a processor from that thread and
// the rasteriser. So the last frame is waited for first, asleep: an event
// query marks the end of each frame.
void PacedDevice::WaitForLastFrame() {
    if (lastFrameEnd == nullptr) return;
    while (lastFrameEnd->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) Sleep(1);
}

HRESULT PacedDevice::Present(const RECT* src_rect, const RECT* dst_rect, HWND dst_window_override,
                             const RGNDATA* dirty_region) {
    WaitForLastFrame();
    const HRESULT status = real->Present(src_rect, dst_rect, dst_window_override, dirty_region);
    if (lastFrameEnd == nullptr && FAILED(real->CreateQuery(D3DQUERYTYPE_EVENT, &lastFrameEnd))) lastFrameEnd = nullptr;
    if (lastFrameEnd) lastFrameEnd->Issue(D3DISSUE_END);
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
    if (SUCCEEDED(status) && StreamNumber < kStreams) {
        BindStream(StreamNumber, copied);
        streams[StreamNumber].bound = pStreamData != nullptr;
        streams[StreamNumber].offset = OffsetInBytes;
        streams[StreamNumber].stride = Stride;
        if (StreamNumber == 0) stream0 = Stream0::AsSet;
    }
    return status;
}

HRESULT PacedDevice::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* OffsetInBytes,
                                     UINT* pStride) {
    // The game is given back the buffer it set, not the system's behind it
    // (nor the nothing a draw from the copy leaves there).
    if (StreamNumber < kStreams && streams[StreamNumber].copied && ppStreamData && OffsetInBytes && pStride) {
        const Stream& stream = streams[StreamNumber];
        stream.copied->AddRef();
        *ppStreamData = stream.copied;
        *OffsetInBytes = stream.offset;
        *pStride = stream.stride;
        return D3D_OK;
    }
    return real->GetStreamSource(StreamNumber, ppStreamData, OffsetInBytes, pStride);
}

HRESULT PacedDevice::SetStreamSourceFreq(UINT StreamNumber, UINT Divider) {
    const HRESULT status = real->SetStreamSourceFreq(StreamNumber, Divider);
    if (SUCCEEDED(status) && StreamNumber < kStreams && streams[StreamNumber].divided != (Divider != 1)) {
        streams[StreamNumber].divided = Divider != 1;
        dividedStreams += Divider != 1 ? 1 : -1;
    }
    return status;
}

// A state block made now takes the system's streams as the game set them.
HRESULT PacedDevice::CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) {
    RestoreStream0();
    return real->CreateStateBlock(Type, ppSB);
}

HRESULT PacedDevice::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    UINT begin = 0, end = 0, first = 0;
    if (DrawnRange(PrimitiveType, StartVertex, PrimitiveCount, &begin, &end)) {
        const UINT stride = streams[0].stride;
        if (UploadToRing(begin, end, &first)) {
            if (stream0 != Stream0::Ring || ringStride != stride) {
                real->SetStreamSource(0, ring, 0, stride);
                stream0 = Stream0::Ring;
                ringStride = stride;
            }
            return real->DrawPrimitive(PrimitiveType, first, PrimitiveCount);
        }
        // Larger than the ring: the system streams it through a buffer of its own.
        const HRESULT status =
            real->DrawPrimitiveUP(PrimitiveType, PrimitiveCount, streams[0].copied->Copy() + begin, stride);
        stream0 = Stream0::Unset;  // even after a failure, as the system may have unset it
        return status;
    }
    // Nothing is drawn, so nothing need be uploaded; the system still answers.
    if (PrimitiveCount == 0) {
        RestoreStream0();
        return real->DrawPrimitive(PrimitiveType, StartVertex, PrimitiveCount);
    }
    UploadStreams();
    return real->DrawPrimitive(PrimitiveType, StartVertex, PrimitiveCount);
}

HRESULT PacedDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT MinVertexIndex,
                                          UINT NumVertices, UINT startIndex, UINT primCount) {
    UploadStreams();
    return real->DrawIndexedPrimitive(Type, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex, primCount);
}

// Drawing from memory leaves stream 0 unset in Direct3D 9.
void PacedDevice::ForgetStream0() {
    BindStream(0, nullptr);
    streams[0] = Stream{nullptr, false, 0, 0, streams[0].divided};
    stream0 = Stream0::AsSet;
}

HRESULT PacedDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                     const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    const HRESULT status = real->DrawPrimitiveUP(PrimitiveType, PrimitiveCount, pVertexStreamZeroData, VertexStreamZeroStride);
    if (SUCCEEDED(status)) ForgetStream0();
    return status;
}

HRESULT PacedDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertices,
                                            UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                            const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    const HRESULT status = real->DrawIndexedPrimitiveUP(PrimitiveType, MinVertexIndex, NumVertices, PrimitiveCount,
                                                        pIndexData, IndexDataFormat, pVertexStreamZeroData,
                                                        VertexStreamZeroStride);
    if (SUCCEEDED(status)) ForgetStream0();
    return status;
}

HRESULT PacedDevice::ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount,
                                     IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl,
                                     DWORD Flags) {
    UploadStreams();
    CopiedVertexBuffer* copied = CopiedVertexBuffer::From(pDestBuffer);
    if (copied) copied->Upload();
    if (softwareInHardware) real->SetSoftwareVertexProcessing(TRUE);
    const HRESULT status = real->ProcessVertices(SrcStartIndex, DestIndex, VertexCount,
                                                 copied ? copied->Real() : pDestBuffer, pVertexDecl, Flags);
    if (softwareInHardware) real->SetSoftwareVertexProcessing(FALSE);
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

HRESULT PacedDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) {
    const HRESULT status = real->GetCreationParameters(pParameters);
    if (SUCCEEDED(status) && softwareInHardware)
        pParameters->BehaviorFlags =
            (pParameters->BehaviorFlags & ~D3DCREATE_MIXED_VERTEXPROCESSING) | D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    return status;
}

// A software device stays one: it cannot be switched to hardware processing.
HRESULT PacedDevice::SetSoftwareVertexProcessing(WINBOOL bSoftware) {
    if (!softwareInHardware) return real->SetSoftwareVertexProcessing(bSoftware);
    return bSoftware ? D3D_OK : D3DERR_INVALIDCALL;
}

WINBOOL PacedDevice::GetSoftwareVertexProcessing() {
    return softwareInHardware ? TRUE : real->GetSoftwareVertexProcessing();
}
