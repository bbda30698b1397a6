#include "capturing_device.h"

#include "platform/d3d9_readback.h"

HRESULT CapturingDevice::Present(const RECT* a, const RECT* b, HWND w, const RGNDATA* d) {
    if (captureNextPresent) {
        captureNextPresent = false;
        rgba.assign(static_cast<size_t>(width_) * height_ * 4, 0);
        if (FAILED(ReadRenderTargetPixels(real_, 0, 0, width_, height_, rgba.data()))) rgba.clear();
    }
    return real_->Present(a, b, w, d);
}
