// Cost of the batch's vertex writes on the OpenGL layer: one Lock, 36-byte
// write and Unlock per vertex over a frame's 40,000 vertices, then the strip
// draw that uploads them. Run under Xvfb:
//   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24" ./build/bench/vertex_lock_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <d3d9.h>
#include "platform/gl/d3d9_readback.h"
#include "platform/desktop/sdl_window.h"
#include "render/vertex_batch.h"

namespace {
constexpr int kVertices = 40000;
constexpr int kFrames = 60;

using Clock = std::chrono::steady_clock;

double Nanoseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::nano>(to - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Returns false when a lock fails.
bool WriteFrame(IDirect3DVertexBuffer9* buffer, int frame) {
    for (int i = 0; i < kVertices; ++i) {
        BatchVertex v{static_cast<float>(i % 200) * 0.01f - 1.0f, static_cast<float>(i / 200) * 0.01f - 1.0f, 0.5f,
                      0.0f, 1.0f, 0.0f, 0xff808080u + static_cast<D3DCOLOR>(frame), 0.0f, 0.0f};
        void* data = nullptr;
        if (FAILED(buffer->Lock(static_cast<UINT>(i) * 36, 36, &data, 0))) return false;
        std::memcpy(data, &v, sizeof v);
        buffer->Unlock();
    }
    return true;
}

int Run(IDirect3DDevice9* device) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    if (FAILED(device->CreateVertexBuffer(kBatchCapacity * 36, 0, D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer,
                                          nullptr)))
        return 1;
    device->SetFVF(kBatchFvf);
    device->SetStreamSource(0, buffer, 0, 36);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    std::vector<double> lockNs, drawMs;
    unsigned char pixel[4];
    for (int frame = 0; frame < kFrames; ++frame) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        Clock::time_point start = Clock::now();
        if (!WriteFrame(buffer, frame)) return 1;
        Clock::time_point written = Clock::now();
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, kVertices - 2);
        ReadRenderTargetPixels(device, 0, 0, 1, 1, pixel);  // waits for the draw
        Clock::time_point drawn = Clock::now();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        lockNs.push_back(Nanoseconds(start, written) / kVertices);
        drawMs.push_back(Nanoseconds(written, drawn) / 1e6);
    }
    std::printf("vertices per frame: %d, frames: %d\n", kVertices, kFrames);
    std::printf("lock + 36-byte write + unlock: median %.1f ns per vertex (best %.1f)\n", Median(lockNs),
                *std::min_element(lockNs.begin(), lockNs.end()));
    std::printf("upload + strip draw + read-back wait: median %.2f ms per frame\n", Median(drawMs));
    device->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
    return 0;
}
}  // namespace

int main() {
    setenv("QUILLFROST_FRAME_RATE", "0", 1);  // a benchmark presents unpaced
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    HWND__ window;
    window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (window.sdlWindow == nullptr || direct3d == nullptr ||
        FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window, 0, &p, &device))) {
        std::fprintf(stderr, "no GL 3.3 core device: run under xvfb-run\n");
        return 1;
    }
    int result = Run(device);
    device->Release();
    direct3d->Release();
    SDL_DestroyWindow(window.sdlWindow);
    return result;
}
