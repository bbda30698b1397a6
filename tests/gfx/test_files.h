// Files for tests: a fresh temporary directory, text files, small 24-bit BMPs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A new empty directory under the system's temporary folder, removed on destruction.
struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    std::string File(const std::string& name) const { return path + "/" + name; }
};

void WriteTextFile(const std::string& path, const std::string& text);
// pixels: width × height colours as 0xRRGGBB, top row first.
void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
std::wstring Wide(const std::string& narrow);
