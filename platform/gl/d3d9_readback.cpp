#include "platform/gl/d3d9_readback.h"

#include <cstring>
#include <vector>

#include "platform/gl/gl_device.h"

HRESULT ReadRenderTargetPixels(IDirect3DDevice9* device, int x, int y, int width, int height, unsigned char* rgba) {
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    if (glDevice == nullptr || rgba == nullptr || width <= 0 || height <= 0 || x < 0 || y < 0)
        return D3DERR_INVALIDCALL;
    glDevice->BindRenderTarget();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (x + width > viewport[2] || y + height > viewport[3]) return D3DERR_INVALIDCALL;
    std::vector<unsigned char> rows(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL counts rows from the bottom.
    glReadPixels(x, viewport[3] - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row)
        std::memcpy(rgba + row * rowBytes, rows.data() + (height - 1 - row) * rowBytes, rowBytes);
    return D3D_OK;
}
