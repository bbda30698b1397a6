#include "gfx_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/d3d9_readback.h"

TestWindow::TestWindow() {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SetGameWindowGlAttributes();
    window.sdlWindow = SDL_CreateWindow("Quillfrost", 0, 0, 320, 240, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

TestWindow::~TestWindow() {
    if (window.sdlWindow) SDL_DestroyWindow(window.sdlWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TestDevice::TestDevice() {
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d == nullptr || window.window.sdlWindow == nullptr) return;
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 320, p.BackBufferHeight = 240, p.BackBufferFormat = D3DFMT_X8R8G8B8;
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

DWORD PixelAt(IDirect3DDevice9* device, int x, int y) {
    unsigned char rgba[4] = {};
    if (FAILED(ReadRenderTargetPixels(device, x, y, 1, 1, rgba))) ADD_FAILURE() << "read-back failed";
    return D3DCOLOR_ARGB(rgba[3], rgba[0], rgba[1], rgba[2]);
}

::testing::AssertionResult CloseColour(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << a << " is not 0x" << b;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ScreenIs(IDirect3DDevice9* device, int x, int y, DWORD rgb, int tolerance) {
    return CloseColour(PixelAt(device, x, y) | 0xff000000, rgb | 0xff000000, tolerance) << " at " << std::dec << x
                                                                                        << ", " << y;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfrost-gfx-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary directory";
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    EXPECT_TRUE(file.good()) << path;
}

std::string ReadTextFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
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
    WriteTextFile(path, out);
}

std::wstring Wide(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }
