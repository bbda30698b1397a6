// Internal to the OpenGL layer: a vertex buffer that keeps a CPU copy and
// uploads only the range written since the last draw, so a lock per vertex
// costs no GL call and no GPU synchronisation.
#pragma once

#include <memory>

#include "platform/d3d9.h"
#include "platform/gl_object.h"

class GlVertexBuffer : public GlObject<IDirect3DVertexBuffer9> {
public:
    GlVertexBuffer(GlContext* context, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);

    // False when GL could not allocate the buffer.
    bool Valid() const { return name != 0; }
    HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    UINT Length() const { return length; }
    // Binds the GL buffer and sends it whatever was written since the last call.
    void BindForDraw();

protected:
    ~GlVertexBuffer() override;

private:
    GlContext* context;
    GLuint name = 0;
    UINT length;
    DWORD usage;
    DWORD fvf;
    D3DPOOL pool;
    std::unique_ptr<unsigned char[]> copy;
    UINT dirtyBegin;
    UINT dirtyEnd = 0;
};
