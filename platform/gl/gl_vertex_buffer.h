// Internal to the OpenGL layer: a vertex buffer that keeps a CPU copy and
// uploads only the range written since the last draw, so a lock per vertex
// costs no GL call and no GPU synchronisation. Memory is committed as it is
// used: the copy's pages on first write, the GL store up to what is drawn.
#pragma once

#include <cstdlib>
#include <memory>

#include <d3d9.h>
#include "platform/gl/gl_object.h"

class GlVertexBuffer : public GlObject<IDirect3DVertexBuffer9> {
public:
    GlVertexBuffer(GlContext* context, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);

    // False when GL could not allocate the buffer.
    bool Valid() const { return name != 0; }
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    UINT Length() const { return length; }
    // Binds the GL buffer, grows its store to cover `endNeeded` bytes and sends
    // it whatever was written since the last call. False when GL is out of memory.
    bool BindForDraw(UINT endNeeded);

protected:
    ~GlVertexBuffer() override;

private:
    GlContext* context;
    GLuint name = 0;
    UINT length;
    DWORD usage;
    DWORD fvf;
    D3DPOOL pool;
    struct FreeDeleter {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    std::unique_ptr<unsigned char, FreeDeleter> copy;
    UINT dirtyBegin;
    UINT dirtyEnd = 0;
    UINT written = 0;  // end of the furthest byte ever locked
    UINT storage = 0;  // size of the GL store

    bool Grow(UINT endNeeded);
};
