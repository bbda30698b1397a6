// Bitmap files for GL textures: the shared BMP reader, its B, G, R, A bytes
// turned to the R, G, B, A that every GL (WebGL 2 included) uploads.
#include "platform/gl/gl_bitmap.h"

#include <cstdio>

#include "platform/shared/bmp_image.h"

namespace {
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && static_cast<unsigned long>(size) <= kBmpFileLimit && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    return ok;
}
}  // namespace

bool LoadRgbaBitmap(const std::string& path, GlBitmap* out) {
    std::vector<uint8_t> bytes;
    BmpImage image;
    if (!ReadWholeFile(path, &bytes) || !ReadBmp(bytes.data(), bytes.size(), &image, nullptr)) return false;
    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->rgba = std::move(image.bgra);
    for (size_t i = 0; i + 3 < out->rgba.size(); i += 4) std::swap(out->rgba[i], out->rgba[i + 2]);
    return true;
}
