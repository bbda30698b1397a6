#include "gl_test_window.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/d3d9_readback.h"

TestWindow::TestWindow() {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, 320, 240, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

TestWindow::~TestWindow() {
    if (window.sdlWindow) SDL_DestroyWindow(window.sdlWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

D3DPRESENT_PARAMETERS GameLikeParameters(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_COPY;
    p.Windowed = TRUE;  // keeps the test window at its own size
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return p;
}

TestDevice::TestDevice() {
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d == nullptr || window.window.sdlWindow == nullptr) return;
    D3DPRESENT_PARAMETERS p = GameLikeParameters(320, 240);
    direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window.window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                           &p, &device);
}

TestDevice::~TestDevice() {
    if (device) device->Release();
    if (direct3d) direct3d->Release();
}

DWORD PixelAt(IDirect3DDevice9* device, int x, int y) {
    unsigned char rgba[4] = {};
    if (FAILED(ReadRenderTargetPixels(device, x, y, 1, 1, rgba))) ADD_FAILURE() << "read-back failed";
    return D3DCOLOR_ARGB(rgba[3], rgba[0], rgba[1], rgba[2]);
}

bool CloseColour(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int ca = static_cast<int>((a >> shift) & 0xff), cb = static_cast<int>((b >> shift) & 0xff);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}
