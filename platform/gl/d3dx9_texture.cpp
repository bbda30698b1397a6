// D3DX textures: render targets and textures loaded from BMP files. A
// recording device gets a labelled texture of the bitmap's size; it keeps no pixels.
#include <SDL.h>

#include <string>

#include "platform/shared/d3d9_recording_device.h"
#include <d3dx9.h>
#include "platform/posix/file_path.h"
#include "platform/gl/gl_device.h"

namespace {
// SDL's ABGR8888 is the byte order R, G, B, A on every host.
SDL_Surface* LoadRgbaBitmap(const std::string& path) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (loaded == nullptr) return nullptr;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
    SDL_FreeSurface(loaded);
    return rgba;
}

HRESULT TextureFromSurface(GlDevice* device, SDL_Surface* image, IDirect3DTexture9** texture) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (image->w <= 0 || image->h <= 0 || image->w > largest || image->h > largest ||
        image->pitch != image->w * 4)
        return D3DXERR_INVALIDDATA;
    SDL_LockSurface(image);
    auto* created = new GlTexture(device->Context(), static_cast<UINT>(image->w), static_cast<UINT>(image->h), 0,
                                  D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, image->pixels);
    SDL_UnlockSurface(image);
    if (!created->Valid()) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = created;
    return D3D_OK;
}

const char* FileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}
}  // namespace

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr) return D3DERR_INVALIDCALL;
    return device->CreateTexture(width, height, mipLevels, usage, format, pool, texture, nullptr);
}

HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, IDirect3DTexture9** texture) {
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    auto* recordingDevice = dynamic_cast<RecordingDevice*>(device);
    std::string path;
    if ((glDevice == nullptr && recordingDevice == nullptr) || !WidePathToPosix(srcFile, path))
        return D3DERR_INVALIDCALL;
    SDL_Surface* image = LoadRgbaBitmap(path);
    if (image == nullptr) return D3DXERR_INVALIDDATA;
    HRESULT result = glDevice ? TextureFromSurface(glDevice, image, texture)
                              : recordingDevice->CreateLabelledTexture(static_cast<UINT>(image->w),
                                                                       static_cast<UINT>(image->h), FileName(path),
                                                                       texture);
    SDL_FreeSurface(image);
    return result;
}
