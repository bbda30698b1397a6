// Internal to the OpenGL layer: one-level textures (RGBA8), with a
// framebuffer object and a 16-bit depth buffer when they are render targets,
// and the surfaces that stand for a texture's level 0 or the back buffer.
// Left out: mipmaps, lockable surfaces, formats other than (A|X)8R8G8B8.
#pragma once

#include <d3d9.h>
#include "platform/gl/gl_object.h"

// A surface shares the reference count of the object it belongs to, as in
// Direct3D: holding a texture's level-0 surface keeps the texture alive.
class GlSurface : public IDirect3DSurface9 {
public:
    GlSurface(IUnknown* owner, GLuint framebuffer, const D3DSURFACE_DESC& desc)
        : owner(owner), framebuffer(framebuffer), desc(desc) {}
    ULONG AddRef() override { return owner->AddRef(); }
    ULONG Release() override { return owner->Release(); }
    HRESULT GetDesc(D3DSURFACE_DESC* out) override;

    // 0 for the back buffer; no framebuffer at all for a plain texture.
    GLuint Framebuffer() const { return framebuffer; }
    bool IsRenderTarget() const { return (desc.Usage & D3DUSAGE_RENDERTARGET) != 0; }
    UINT Width() const { return desc.Width; }
    UINT Height() const { return desc.Height; }

private:
    IUnknown* owner;
    GLuint framebuffer;
    D3DSURFACE_DESC desc;
};

class GlTexture : public GlObject<IDirect3DTexture9> {
public:
    // rgba: width × height × 4 bytes, top row first; null leaves it cleared.
    GlTexture(GlContext* context, UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
              const void* rgba);

    bool Valid() const { return valid; }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    GLuint Name() const { return name; }

protected:
    ~GlTexture() override;

private:
    bool CreateFramebuffer(UINT width, UINT height);

    GlContext* context;
    GLuint name = 0;
    GLuint framebuffer = 0;
    GLuint depth = 0;
    bool valid = false;
    GlSurface surface;
};

bool IsSupportedTextureFormat(D3DFORMAT format);
// The layer's texture behind an interface pointer, or null for anything else.
GlTexture* AsGlTexture(IDirect3DBaseTexture9* texture);
