#include "platform/gl_vertex_buffer.h"

#include <algorithm>

GlVertexBuffer::GlVertexBuffer(GlContext* context_, UINT length_, DWORD usage_, DWORD fvf_, D3DPOOL pool_)
    : context(context_), length(length_), usage(usage_), fvf(fvf_), pool(pool_), dirtyBegin(length_) {
    HoldContext(context);
    copy.reset(new (std::nothrow) unsigned char[length]());
    if (!copy) return;
    glGetError();
    glGenBuffers(1, &name);
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, length, nullptr, GL_DYNAMIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteBuffers(1, &name);
        name = 0;
    }
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
    *data = copy.get() + offsetToLock;
    return D3D_OK;
}

HRESULT GlVertexBuffer::Unlock() { return D3D_OK; }

HRESULT GlVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (desc == nullptr) return D3DERR_INVALIDCALL;
    *desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf};
    return D3D_OK;
}

void GlVertexBuffer::BindForDraw() {
    glBindBuffer(GL_ARRAY_BUFFER, name);
    if (dirtyEnd <= dirtyBegin) return;
    glBufferSubData(GL_ARRAY_BUFFER, dirtyBegin, dirtyEnd - dirtyBegin, copy.get() + dirtyBegin);
    dirtyBegin = length;
    dirtyEnd = 0;
}
