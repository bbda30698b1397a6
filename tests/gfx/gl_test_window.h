// A hidden GL window and a device on it, the way the game's start-up makes
// them, for tests that render through the layer under Xvfb.
#pragma once

#include <vector>

#include "platform/d3d9.h"
#include "platform/sdl_window.h"

struct TestWindow {
    HWND__ window;
    TestWindow();
    ~TestWindow();
};

struct TestDevice {
    TestWindow window;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    TestDevice();
    ~TestDevice();
};

D3DPRESENT_PARAMETERS GameLikeParameters(UINT width, UINT height);

// One pixel of the current render target as 0xAARRGGBB.
DWORD PixelAt(IDirect3DDevice9* device, int x, int y);
// True when every channel of a and b differs by at most tolerance.
bool CloseColour(DWORD a, DWORD b, int tolerance = 2);
