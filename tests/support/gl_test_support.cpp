#include "gl_test_support.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/gl/d3d9_readback.h"

TestWindow::TestWindow(int width, int height) {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SetGameWindowGlAttributes();
    window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

TestWindow::~TestWindow() {
    if (window.sdlWindow) SDL_DestroyWindow(window.sdlWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TestDevice::TestDevice(int width, int height) : window(width, height) {
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d == nullptr || window.window.sdlWindow == nullptr) return;
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = UINT(width), p.BackBufferHeight = UINT(height), p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1, p.SwapEffect = D3DSWAPEFFECT_COPY;
    p.Windowed = TRUE;  // keeps the test window at its own size
    p.EnableAutoDepthStencil = TRUE, p.AutoDepthStencilFormat = D3DFMT_D16;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window.window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                           &p, &device);
}

TestDevice::~TestDevice() {
    if (device) device->Release();
    if (direct3d) direct3d->Release();
}

void GlTest::SetUp() {
    ASSERT_NE(nullptr, gl.device) << "no GL 3.3 core device (run under xvfb-run)";
    device = gl.device;
    ASSERT_EQ(D3D_OK, device->CreateVertexBuffer(kBufferVertices * sizeof(TestVertex), 0, kTestVertexFvf,
                                                 D3DPOOL_DEFAULT, &buffer, nullptr));
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(kTestVertexFvf);
    device->SetStreamSource(0, buffer, 0, sizeof(TestVertex));
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

void GlTest::TearDown() {
    if (buffer) buffer->Release();
}

void WriteVertices(IDirect3DVertexBuffer9* buffer, UINT first, const TestVertex (&quad)[4]) {
    void* data = nullptr;
    ASSERT_EQ(D3D_OK, buffer->Lock(first * sizeof(TestVertex), sizeof quad, &data, 0));
    std::memcpy(data, quad, sizeof quad);
    buffer->Unlock();
}

DWORD PixelAt(IDirect3DDevice9* device, int x, int y) {
    unsigned char rgba[4] = {};
    if (FAILED(ReadRenderTargetPixels(device, x, y, 1, 1, rgba))) ADD_FAILURE() << "read-back failed";
    return D3DCOLOR_ARGB(rgba[3], rgba[0], rgba[1], rgba[2]);
}

::testing::AssertionResult CloseColour(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > tolerance) {
            std::ostringstream text;  // the failure's own << would not keep std::hex
            text << std::hex << "0x" << a << " is not 0x" << b;
            return ::testing::AssertionFailure() << text.str();
        }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ScreenIs(IDirect3DDevice9* device, int x, int y, DWORD rgb, int tolerance) {
    return CloseColour(PixelAt(device, x, y) | 0xff000000, rgb | 0xff000000, tolerance) << " at " << x << ", " << y;
}

std::string Bmp(int width, int height, const std::vector<uint32_t>& pixels) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const uint32_t imageSize = static_cast<uint32_t>(rowBytes * height);
    std::string out = "BM";
    auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    // File header, then the info header: a positive height stores the bottom row first.
    for (uint32_t field : {54 + imageSize, 0u, 54u, 40u, uint32_t(width), uint32_t(height), 1u | 24u << 16, 0u,
                           imageSize, 2835u, 2835u, 0u, 0u})
        put(field, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) put(pixels[static_cast<size_t>(row * width + x)], 3);
        out.append(static_cast<size_t>(rowBytes - width * 3), '\0');
    }
    return out;
}
