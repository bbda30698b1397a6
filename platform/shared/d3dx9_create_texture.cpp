// D3DXCreateTexture (the game's render targets): whatever the device, the
// device's own CreateTexture.
#include <d3dx9.h>

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
    if (device == nullptr || texture == nullptr) return D3DERR_INVALIDCALL;
    return device->CreateTexture(width, height, mipLevels, usage, format, pool, texture, nullptr);
}
