// D3DX textures on the system's Direct3D 9 device: bitmaps read by our own
// BMP reader into managed A8R8G8B8 textures. A recording device gets a labelled texture of the
// bitmap's size, as on every other platform.
#include <cstring>

#include <d3dx9.h>
#include "platform/shared/bmp_image.h"
#include "platform/windows/recording_link.h"
#include "platform/windows/wide_path.h"

namespace {
HRESULT UploadImage(IDirect3DDevice9* device, const BmpImage& image, IDirect3DTexture9** texture) {
    D3DCAPS9 caps{};
    if (FAILED(device->GetDeviceCaps(&caps))) return D3DERR_INVALIDCALL;
    if (image.width > caps.MaxTextureWidth || image.height > caps.MaxTextureHeight) return D3DXERR_INVALIDDATA;
    IDirect3DTexture9* created = nullptr;
    HRESULT status = device->CreateTexture(image.width, image.height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           &created, nullptr);
    if (FAILED(status)) return status;
    D3DLOCKED_RECT locked{};
    status = created->LockRect(0, &locked, nullptr, 0);
    if (FAILED(status)) {
        created->Release();
        return status;
    }
    const size_t rowBytes = size_t(image.width) * 4;
    for (uint32_t y = 0; y < image.height; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * static_cast<size_t>(locked.Pitch),
                    image.bgra.data() + y * rowBytes, rowBytes);
    created->UnlockRect(0);
    *texture = created;
    return D3D_OK;
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, IDirect3DTexture9** texture) {
    if (texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (device == nullptr || srcFile == nullptr) return D3DERR_INVALIDCALL;
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(srcFile, kBmpFileLimit, &bytes)) return D3DXERR_INVALIDDATA;
    BmpImage image;
    if (bytes.size() > kBmpFileLimit || !ReadBmp(bytes.data(), bytes.size(), &image, nullptr))
        return D3DXERR_INVALIDDATA;
    if (RecordingDevice* recording = AsRecordingDevice(device))
        return recording->CreateLabelledTexture(image.width, image.height, FileName(NarrowPath(srcFile)).c_str(),
                                                texture);
    return UploadImage(device, image, texture);
}
