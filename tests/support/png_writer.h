// Writes 8-bit RGB pictures as PNG files (uncompressed deflate blocks), so
// tests can leave screenshots a person can open.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width * height * 3 bytes, top row first. False when the file cannot
// be written or the sizes do not match.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
