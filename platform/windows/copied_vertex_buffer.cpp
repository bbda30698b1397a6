#include "platform/windows/copied_vertex_buffer.h"

#include <atomic>
#include <cstring>
#include <new>

#include "platform/windows/com_query.h"

namespace {
// Answered only by our buffers, so that the device can tell them from the
// system's.
// Buffers' versions are drawn from one count, so no two buffers share one.
std::atomic<uint64_t> versions{0};

constexpr GUID kCopiedVertexBufferIid = {0x6b1c2f4e, 0x93d0, 0x4a57, {0xb8, 0x21, 0x5e, 0x0a, 0x7c, 0x44, 0x19, 0xd3}};
}  // namespace

uint64_t CopiedVertexBuffer::NextVersion() { return versions.fetch_add(1, std::memory_order_relaxed) + 1; }

CopiedVertexBuffer* CopiedVertexBuffer::From(IDirect3DVertexBuffer9* buffer) {
    void* found = nullptr;
    if (buffer == nullptr || FAILED(buffer->QueryInterface(kCopiedVertexBufferIid, &found))) return nullptr;
    buffer->Release();  // the query's reference
    return static_cast<CopiedVertexBuffer*>(found);
}

CopiedVertexBuffer* CopiedVertexBuffer::Create(IDirect3DDevice9* device, IDirect3DVertexBuffer9* real, UINT length) {
    // Not cleared: like the system's buffer, it holds nothing until written.
    auto* copy = new (std::nothrow) unsigned char[length];
    if (copy == nullptr) {
        real->Release();
        return nullptr;
    }
    return new CopiedVertexBuffer(device, real, copy, length);
}

CopiedVertexBuffer::CopiedVertexBuffer(IDirect3DDevice9* device, IDirect3DVertexBuffer9* real, unsigned char* copy,
                                       UINT length)
    : device(device), real(real), copy(copy), length(length), dirtyBegin(length), version(NextVersion()) {
    device->AddRef();
}

CopiedVertexBuffer::~CopiedVertexBuffer() {
    real->Release();
    delete[] copy;
}

HRESULT CopiedVertexBuffer::Upload() {
    if (dirtyBegin >= dirtyEnd) return D3D_OK;
    // Plain flags: draws earlier in the frame may still read this range (the
    // batch starts again at 0 for every group), so neither NOOVERWRITE nor a
    // DISCARD of the whole buffer would keep what they see.
    void* data = nullptr;
    HRESULT status = real->Lock(dirtyBegin, dirtyEnd - dirtyBegin, &data, 0);
    if (FAILED(status)) return status;
    std::memcpy(data, copy + dirtyBegin, dirtyEnd - dirtyBegin);
    real->Unlock();
    dirtyBegin = length;
    dirtyEnd = 0;
    return D3D_OK;
}

HRESULT CopiedVertexBuffer::Reload() {
    void* data = nullptr;
    HRESULT status = real->Lock(0, length, &data, D3DLOCK_READONLY);
    if (FAILED(status)) return status;
    std::memcpy(copy, data, length);
    real->Unlock();
    written = true;
    dirtyBegin = length;
    dirtyEnd = 0;
    return D3D_OK;
}

void CopiedVertexBuffer::Unbind() {
    if (--bindings == 0 && references == 0) delete this;
}

HRESULT CopiedVertexBuffer::QueryInterface(REFIID riid, void** object) {
    return AnswerQuery(this, riid, object,
                       {IID_IUnknown, IID_IDirect3DResource9, IID_IDirect3DVertexBuffer9, kCopiedVertexBufferIid});
}

ULONG CopiedVertexBuffer::AddRef() { return ++references; }

ULONG CopiedVertexBuffer::Release() {
    const ULONG left = --references;
    if (left == 0) {
        // The device may go with this reference, and unbind (and so delete)
        // the buffer: nothing of `this` is touched after it.
        IDirect3DDevice9* owner = device;
        if (bindings == 0) delete this;
        owner->Release();
    }
    return left;
}

HRESULT CopiedVertexBuffer::GetDevice(IDirect3DDevice9** ppDevice) {
    if (ppDevice == nullptr) return D3DERR_INVALIDCALL;
    device->AddRef();
    *ppDevice = device;
    return D3D_OK;
}

HRESULT CopiedVertexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) {
    if (ppbData == nullptr) return D3DERR_INVALIDCALL;
    *ppbData = nullptr;
    if (OffsetToLock > length) return D3DERR_INVALIDCALL;
    const UINT size = SizeToLock == 0 ? length - OffsetToLock : SizeToLock;  // 0: to the end
    if (size > length - OffsetToLock) return D3DERR_INVALIDCALL;
    if (!(Flags & D3DLOCK_READONLY) && size > 0) {
        written = true;
        if (OffsetToLock < dirtyBegin) dirtyBegin = OffsetToLock;
        if (OffsetToLock + size > dirtyEnd) dirtyEnd = OffsetToLock + size;
    }
    *ppbData = copy + OffsetToLock;
    return D3D_OK;
}

HRESULT CopiedVertexBuffer::Unlock() { return D3D_OK; }
