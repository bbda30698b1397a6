// Bitmap files for GL textures: the shared BMP reader, its B, G, R, A bytes
// turned to the R, G, B, A that every GL (WebGL 2 included) uploads.
#include "platform/gl/gl_bitmap.h"

#include <utility>

#include "platform/posix/file_prefix.h"
#include "platform/shared/bmp_image.h"

bool LoadRgbaBitmap(const std::string& path, GlBitmap* out) {
    std::string bytes;
    BmpImage image;
    if (!ReadFilePrefix(path, kBmpFileLimit + 1, &bytes) || bytes.size() > kBmpFileLimit ||
        !ReadBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image, nullptr))
        return false;
    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->rgba = std::move(image.bgra);
    for (size_t i = 0; i + 3 < out->rgba.size(); i += 4) std::swap(out->rgba[i], out->rgba[i + 2]);
    return true;
}
