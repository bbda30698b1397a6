// Test and tool support: reads back pixels of the device's current render
// target (the back buffer before Present, or a render-target texture).
// Not part of Direct3D; works only with the OpenGL device.
#pragma once

#include <d3d9.h>

// Fills rgba with width × height × 4 bytes, top row first, x and y counted
// from the top-left corner as in Direct3D.
HRESULT ReadRenderTargetPixels(IDirect3DDevice9* device, int x, int y, int width, int height, unsigned char* rgba);
