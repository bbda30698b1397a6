// Internal to the OpenGL layer: the IDirect3D9 object every back end on GL
// hands out. CreateDevice checks what it is asked for and makes the device;
// the back end checks the window and makes the GL context on it.
#pragma once

#include <d3d9.h>

#include "platform/gl/gl_object.h"

class GlDirect3D : public GlObject<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviour,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) final;

protected:
    // Whether the device's window (the presentation's, else the focus
    // window) is one the back end can draw on.
    virtual bool CanDrawOn(HWND window) const = 0;
    // A new GL context on the window, made current; null if none can be made.
    // The device owns it from then on.
    virtual backend::GlNativeContext* MakeContext(HWND window, const D3DPRESENT_PARAMETERS& parameters) = 0;
};
