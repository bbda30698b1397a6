#include "platform/gl/gl_direct3d.h"

#include "platform/gl/gl_device.h"

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    return sdkVersion == D3D_SDK_VERSION ? backend::NewGlDirect3D() : nullptr;
}

HRESULT GlDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (device == nullptr) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || parameters == nullptr) return D3DERR_INVALIDCALL;
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    if (window == nullptr || !CanDrawOn(window)) return D3DERR_INVALIDCALL;
    backend::GlNativeContext* native = MakeContext(window, *parameters);
    if (native == nullptr) return D3DERR_NOTAVAILABLE;
    auto* context = new GlContext{native, 1};
    auto* created = new GlDevice(context, *parameters);
    DropContext(context);  // the device holds it now
    if (!created->Create()) {
        created->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *device = created;
    return D3D_OK;
}
