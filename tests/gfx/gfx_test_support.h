// Helpers for the graphics tests: a hidden GL window and device made the way
// start-up makes them, pixel read-back, and temporary text and bitmap files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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

// One pixel of the current render target as 0xAARRGGBB.
DWORD PixelAt(IDirect3DDevice9* device, int x, int y);
// Every channel of a and b within tolerance of each other.
::testing::AssertionResult CloseColour(DWORD a, DWORD b, int tolerance = 2);
// The pixel's red, green and blue (alpha ignored, as on the back buffer) within tolerance of rgb.
::testing::AssertionResult ScreenIs(IDirect3DDevice9* device, int x, int y, DWORD rgb, int tolerance = 2);

// A new empty directory under the system's temporary folder, removed on destruction.
struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    std::string File(const std::string& name) const { return path + "/" + name; }
};

void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
// A 24-bit bitmap; pixels: width × height colours as 0xRRGGBB, top row first.
void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
std::wstring Wide(const std::string& narrow);
