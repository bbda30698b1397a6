#include "platform/gl/gl_texture.h"

namespace {
D3DSURFACE_DESC SurfaceDesc(UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
    return {format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0, width, height};
}
}  // namespace

HRESULT GlSurface::GetDesc(D3DSURFACE_DESC* out) {
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = desc;
    return D3D_OK;
}

bool IsSupportedTextureFormat(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

GlTexture* AsGlTexture(IDirect3DBaseTexture9* texture) { return dynamic_cast<GlTexture*>(texture); }

GlTexture::GlTexture(GlContext* context_, UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                     const void* rgba)
    : context(context_), surface(this, 0, SurfaceDesc(width, height, usage, format, pool)) {
    HoldContext(context);
    glGetError();
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba);
    // Direct3D's default sampler: point filtering, wrapping, no mip levels.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    valid = glGetError() == GL_NO_ERROR;
    if (valid && (usage & D3DUSAGE_RENDERTARGET)) valid = CreateFramebuffer(width, height);
    if (valid) surface = GlSurface(this, framebuffer, SurfaceDesc(width, height, usage, format, pool));
}

bool GlTexture::CreateFramebuffer(UINT width, UINT height) {
    GLint previous = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, static_cast<GLsizei>(width),
                          static_cast<GLsizei>(height));
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    return complete && glGetError() == GL_NO_ERROR;
}

GlTexture::~GlTexture() {
    if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
    if (depth != 0) glDeleteRenderbuffers(1, &depth);
    if (name != 0) glDeleteTextures(1, &name);
    DropContext(context);
}

HRESULT GlTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** out) {
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (level != 0) return D3DERR_INVALIDCALL;
    surface.AddRef();
    *out = &surface;
    return D3D_OK;
}

HRESULT GlTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return surface.GetDesc(desc);
}
