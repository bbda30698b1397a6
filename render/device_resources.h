// The Direct3D device and everything created with it at start-up: three render
// targets, the effect from "myshader.fx" and the five bitmap textures. Released
// only when the window is destroyed.
#pragma once

#include <d3d9.h>
#include <d3dx9.h>

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

// The bitmaps start-up loads, in this order, each into its renderer field;
// released in the same order.
struct BitmapTexture {
    const WCHAR* name;
    IDirect3DTexture9* Renderer::*texture;
};
inline constexpr BitmapTexture kBitmapTextures[] = {{L"particlecheaper7.bmp", &Renderer::particleCheapTexture},
                                                    {L"tiles.bmp", &Renderer::tilesTexture},
                                                    {L"particle.bmp", &Renderer::particleTexture},
                                                    {L"TheFrontEnd.bmp", &Renderer::frontEndTexture},
                                                    {L"score.bmp", &Renderer::scoreTexture}};

// 0 on success; the first failing step's negative status otherwise, with the
// reason noted through NoteStartupFailure. Sets up the controller, then runs
// CreateRenderer on the platform's Direct3D at the desktop's size.
HRESULT CreateDeviceAndResources(HWND window);
// The renderer's start-up from the device on, on any Direct3D object (the
// replay tool and tests pass a recording one): the renderer holds direct3d
// from here on, and what was created before a failure stays for ReleaseResources.
HRESULT CreateRenderer(IDirect3D9* direct3d, HWND window, UINT width, UINT height);
// Releases whatever exists, the batch's buffer first, and clears the fields.
void ReleaseResources();
