// The Direct3D device and everything created with it at start-up: three render
// targets, the effect from "myshader.fx" and the five bitmap textures. Released
// only when the window is destroyed.
#pragma once

#include "platform/d3d9.h"
#include "platform/d3dx9.h"

struct RenderTarget {
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* surface = nullptr;  // level 0
};

struct Renderer {
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXEffect* effect = nullptr;
    RenderTarget fullTargetA;
    RenderTarget smallTarget;
    RenderTarget fullTargetB;
    IDirect3DTexture9* particleCheapTexture = nullptr;
    IDirect3DTexture9* tilesTexture = nullptr;
    IDirect3DTexture9* particleTexture = nullptr;
    IDirect3DTexture9* frontEndTexture = nullptr;
    IDirect3DTexture9* scoreTexture = nullptr;
    D3DXHANDLE worldViewProjectionHandle = nullptr;
};

extern Renderer renderer;

// 0 on success; the first failing step's negative status otherwise, with the
// reason noted through NoteStartupFailure.
HRESULT CreateDeviceAndResources(HWND window);
void ReleaseResources();
