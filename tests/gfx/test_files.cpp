#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

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
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

namespace {
void Put(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}
}  // namespace

void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    int rowBytes = (width * 3 + 3) & ~3;
    uint32_t imageSize = static_cast<uint32_t>(rowBytes * height);
    std::string out = "BM";
    Put(&out, 54 + imageSize, 4);
    Put(&out, 0, 4);
    Put(&out, 54, 4);
    Put(&out, 40, 4);
    Put(&out, static_cast<uint32_t>(width), 4);
    Put(&out, static_cast<uint32_t>(height), 4);  // positive: bottom row first
    Put(&out, 1, 2);
    Put(&out, 24, 2);
    Put(&out, 0, 4);
    Put(&out, imageSize, 4);
    Put(&out, 2835, 4);
    Put(&out, 2835, 4);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) Put(&out, pixels[static_cast<size_t>(row * width + x)], 3);
        out.append(static_cast<size_t>(rowBytes - width * 3), '\0');
    }
    WriteTextFile(path, out);
}

std::wstring Wide(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }
