#include "platform/gl/gl_vertex_buffer.h"

#include <algorithm>
#include <cstdint>

GlVertexBuffer::GlVertexBuffer(GlContext* context_, UINT length_, DWORD usage_, DWORD fvf_, D3DPOOL pool_)
    : context(context_), length(length_), usage(usage_), fvf(fvf_), pool(pool_), dirtyBegin(length_) {
    HoldContext(context);
    // calloc leaves untouched pages uncommitted: the batch's 72 MB buffer
    // costs only the few megabytes a frame writes.
    copy.reset(static_cast<unsigned char*>(std::calloc(length, 1)));
    if (!copy) return;
    glGenBuffers(1, &name);
}

GlVertexBuffer::~GlVertexBuffer() {
    if (name != 0) glDeleteBuffers(1, &name);
    DropContext(context);
}

HRESULT GlVertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD) {
    if (data == nullptr) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (offsetToLock >= length) return D3DERR_INVALIDCALL;
    UINT size = sizeToLock == 0 ? length - offsetToLock : sizeToLock;
    if (size > length - offsetToLock) return D3DERR_INVALIDCALL;
    dirtyBegin = std::min(dirtyBegin, offsetToLock);
    dirtyEnd = std::max(dirtyEnd, offsetToLock + size);
    written = std::max(written, dirtyEnd);
    *data = copy.get() + offsetToLock;
    return D3D_OK;
}

HRESULT GlVertexBuffer::Unlock() { return D3D_OK; }

HRESULT GlVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf};
    return D3D_OK;
}

// The store grows geometrically from 1 MiB and is refilled from the copy, so
// it always mirrors every byte that was written or may be drawn.
bool GlVertexBuffer::Grow(UINT endNeeded) {
    uint64_t target = std::max<uint64_t>(storage, 1u << 20);
    while (target < endNeeded || target < written) target *= 2;
    UINT size = static_cast<UINT>(std::min<uint64_t>(target, length));
    glGetError();
    glBufferData(GL_ARRAY_BUFFER, size, nullptr, GL_DYNAMIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        storage = 0;
        return false;
    }
    storage = size;
    dirtyBegin = 0;
    dirtyEnd = std::min(written, storage);
    return true;
}

bool GlVertexBuffer::BindForDraw(UINT endNeeded) {
    glBindBuffer(GL_ARRAY_BUFFER, name);
    if ((endNeeded > storage || written > storage) && !Grow(std::max(endNeeded, written))) return false;
    if (dirtyEnd <= dirtyBegin) return true;
    glBufferSubData(GL_ARRAY_BUFFER, dirtyBegin, dirtyEnd - dirtyBegin, copy.get() + dirtyBegin);
    dirtyBegin = length;
    dirtyEnd = 0;
    return true;
}
