// Internal to the OpenGL layer: a bitmap file read as RGBA bytes for a texture.
// Each back end provides the reader (the desktop has SDL's).
#pragma once

#include <string>
#include <vector>

struct GlBitmap {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // width × height × 4 bytes, R, G, B, A, top row first
};

// False when the file cannot be read or is no bitmap the reader knows.
bool LoadRgbaBitmap(const std::string& path, GlBitmap* out);
