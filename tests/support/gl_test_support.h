// Helpers for the tests that draw through the OpenGL layer: a hidden window and
// device made the way start-up makes them, pixel read-back, and bitmap files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <d3d9.h>
#include "platform/desktop/sdl_window.h"

struct TestWindow {
    HWND__ window;
    TestWindow(int width = 320, int height = 240);
    ~TestWindow();
};

struct TestDevice {
    TestWindow window;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    TestDevice(int width = 320, int height = 240);
    ~TestDevice();
};

// The vertex layout the game's batch uses: position, normal, colour, one texture coordinate.
struct TestVertex {
    float x, y, z, nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(TestVertex) == 36);
inline constexpr DWORD kTestVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// Writes four vertices, a strip's quad, into the buffer from vertex `first` on.
void WriteVertices(IDirect3DVertexBuffer9* buffer, UINT first, const TestVertex (&quad)[4]);

// A device with a 64-vertex buffer bound as stream 0, no culling or lighting,
// and a cleared black target.
class GlTest : public ::testing::Test {
protected:
    static constexpr UINT kBufferVertices = 64;
    explicit GlTest(int width = 320, int height = 240) : gl(width, height) {}
    void SetUp() override;
    // Bindings hold their own references; the device lets go of them when it goes.
    void TearDown() override;

    TestDevice gl;
    IDirect3DDevice9* device = nullptr;
    IDirect3DVertexBuffer9* buffer = nullptr;
};

// One pixel of the current render target as 0xAARRGGBB.
DWORD PixelAt(IDirect3DDevice9* device, int x, int y);
// Every channel of a and b within tolerance of each other.
::testing::AssertionResult CloseColour(DWORD a, DWORD b, int tolerance = 2);
// The pixel's red, green and blue (alpha ignored, as on the back buffer) within tolerance of rgb.
::testing::AssertionResult ScreenIs(IDirect3DDevice9* device, int x, int y, DWORD rgb, int tolerance = 2);

// A 24-bit bitmap file's bytes; pixels: width × height colours as 0xRRGGBB, top row first.
std::string Bmp(int width, int height, const std::vector<uint32_t>& pixels);
