// The most a Direct3D 9 program can get from this system's Direct3D: clear,
// draw QUADS screen-covering quads and present, as fast as it can, with the
// game's own present parameters (16-bit depth, no vertical sync) and its way
// of waiting for the last frame (an event query polled asleep). Prints frames
// per second. gl_quads.cpp does the same through OpenGL.
// Usage: d3d9_quads QUADS SECONDS DEPTH (16, or 0 for no depth buffer)
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: d3d9_quads QUADS SECONDS DEPTH\n");
        return 2;
    }
    const int quads = std::atoi(argv[1]), seconds = std::atoi(argv[2]);
    const bool depth = std::atoi(argv[3]) != 0;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"quads";
    RegisterClassW(&windowClass);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowW(L"quads", L"quads", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.EnableAutoDepthStencil = depth;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (direct3d == nullptr || FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                             D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device))) {
        std::fprintf(stderr, "d3d9_quads: no Direct3D 9 device\n");
        return 1;
    }
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const ScreenVertex quad[6] = {{0, 0, 0.5f, 1, 0xFF2040A0}, {w, 0, 0.5f, 1, 0xFF40A020}, {0, h, 0.5f, 1, 0xFFA02040},
                                  {w, 0, 0.5f, 1, 0xFF40A020}, {w, h, 0.5f, 1, 0xFF202020}, {0, h, 0.5f, 1, 0xFFA02040}};
    IDirect3DVertexBuffer9* vertices = nullptr;
    void* data = nullptr;
    if (FAILED(device->CreateVertexBuffer(sizeof quad, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                                          D3DPOOL_DEFAULT, &vertices, nullptr)) ||
        FAILED(vertices->Lock(0, 0, &data, 0))) {
        std::fprintf(stderr, "d3d9_quads: no vertex buffer\n");
        return 1;
    }
    std::memcpy(data, quad, sizeof quad);
    vertices->Unlock();
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->SetStreamSource(0, vertices, 0, sizeof(ScreenVertex));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, depth);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    IDirect3DQuery9* frameEnd = nullptr;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long frames = 0;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | (depth ? D3DCLEAR_ZBUFFER : 0), 0xFF000000, 1.0f, 0);
        device->BeginScene();
        for (int i = 0; i < quads; ++i) device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
        device->EndScene();
        if (frameEnd)
            while (frameEnd->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) Sleep(1);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        if (frameEnd == nullptr && FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, &frameEnd))) frameEnd = nullptr;
        if (frameEnd) frameEnd->Issue(D3DISSUE_END);
        ++frames;
        QueryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart < seconds * frequency.QuadPart);
    std::printf("%.1f\n", frames * static_cast<double>(frequency.QuadPart) / (now.QuadPart - start.QuadPart));
    if (frameEnd) frameEnd->Release();
    vertices->Release();
    device->Release();
    direct3d->Release();
    DestroyWindow(window);
    return 0;
}
