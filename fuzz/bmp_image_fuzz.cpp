// Arbitrary bytes as a bitmap file. The reader must refuse them with a reason
// and an empty image, or give an image whose pixels the file could hold and
// which SDL's own reader, given the same bytes, sees pixel for pixel alike.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/shared/bmp_image.h"

namespace {
[[noreturn]] void Mismatch(const char* what) {
    std::fprintf(stderr, "bmp_image_fuzz: %s\n", what);
    std::abort();
}

void CompareWithSdl(const uint8_t* data, size_t size, const BmpImage& image) {
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
    if (loaded == nullptr) Mismatch(SDL_GetError());
    // ARGB8888 lies in memory as B, G, R, A on a little-endian host, as BmpImage does.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (argb == nullptr) Mismatch(SDL_GetError());
    if (static_cast<uint32_t>(argb->w) != image.width || static_cast<uint32_t>(argb->h) != image.height)
        Mismatch("size differs from SDL's");
    for (uint32_t y = 0; y < image.height; ++y)
        if (std::memcmp(static_cast<const uint8_t*>(argb->pixels) + size_t(y) * size_t(argb->pitch),
                        image.bgra.data() + size_t(y) * image.width * 4, size_t(image.width) * 4) != 0)
            Mismatch("pixels differ from SDL's");
    SDL_FreeSurface(argb);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24)) return 0;
    BmpImage image;
    image.width = 7;  // anything left from before must go
    const char* reason = nullptr;
    if (!ReadBmp(data, size, &image, &reason)) {
        if (reason == nullptr || *reason == '\0') Mismatch("refused without a reason");
        if (image.width != 0 || image.height != 0 || !image.bgra.empty()) Mismatch("refused, image not emptied");
        return 0;
    }
    if (image.width == 0 || image.height == 0 || image.width > kBmpSideLimit || image.height > kBmpSideLimit)
        Mismatch("size out of range");
    if (image.bgra.size() != size_t(image.width) * image.height * 4) Mismatch("pixel count differs from the size");
    // Every depth the reader takes stores at least one byte a pixel.
    if (size_t(image.width) * image.height > size) Mismatch("more pixels than the file holds bytes");
    CompareWithSdl(data, size, image);
    return 0;
}
