// Internal to the OpenGL layer: a bitmap file read as RGBA bytes for a texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GlBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width × height × 4 bytes, R, G, B, A, top row first
};

// False when the file cannot be read or is no bitmap the reader knows.
bool LoadRgbaBitmap(const std::string& path, GlBitmap* out);
