// D3DX textures loaded from BMP files. A recording device gets a labelled
// texture of the bitmap's size; it keeps no pixels.
#include <string>

#include "platform/shared/d3d9_recording_device.h"
#include <d3dx9.h>
#include "platform/posix/file_path.h"
#include "platform/gl/gl_bitmap.h"
#include "platform/gl/gl_device.h"

namespace {
HRESULT TextureFromBitmap(GlDevice* device, const GlBitmap& image, IDirect3DTexture9** texture) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (image.width <= 0 || image.height <= 0 || image.width > largest || image.height > largest ||
        image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        return D3DXERR_INVALIDDATA;
    auto* created = new GlTexture(device->Context(), static_cast<UINT>(image.width), static_cast<UINT>(image.height),
                                  0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, image.rgba.data());
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

HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, IDirect3DTexture9** texture) {
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    auto* recordingDevice = dynamic_cast<RecordingDevice*>(device);
    std::string path;
    if ((glDevice == nullptr && recordingDevice == nullptr) || !WidePathToPosix(srcFile, path))
        return D3DERR_INVALIDCALL;
    GlBitmap image;
    if (!LoadRgbaBitmap(path, &image)) return D3DXERR_INVALIDDATA;
    return glDevice ? TextureFromBitmap(glDevice, image, texture)
                    : recordingDevice->CreateLabelledTexture(static_cast<UINT>(image.width),
                                                             static_cast<UINT>(image.height), FileName(path), texture);
}
