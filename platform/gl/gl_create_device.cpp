// The part of CreateDevice that is the same on every back end's context.
#include "platform/gl/gl_device.h"

HWND DeviceWindow(UINT adapter, D3DDEVTYPE type, HWND focusWindow, const D3DPRESENT_PARAMETERS* parameters) {
    HWND window = parameters && parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || parameters == nullptr) return nullptr;
    return window;
}

HRESULT CreateGlDevice(backend::GlNativeContext* native, const D3DPRESENT_PARAMETERS& parameters,
                       IDirect3DDevice9** device) {
    auto* context = new GlContext{native, 1};
    auto* created = new GlDevice(context, parameters);
    DropContext(context);  // the device holds it now
    if (!created->Create()) {
        created->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *device = created;
    return D3D_OK;
}
