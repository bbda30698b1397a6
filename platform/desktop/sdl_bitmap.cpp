// Bitmap files for GL textures through SDL's BMP reader.
#include <SDL.h>

#include <cstring>

#include "platform/gl/gl_bitmap.h"

// SDL's ABGR8888 is the byte order R, G, B, A on every host.
bool LoadRgbaBitmap(const std::string& path, GlBitmap* out) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (loaded == nullptr) return false;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
    SDL_FreeSurface(loaded);
    if (rgba == nullptr) return false;
    bool ok = rgba->w > 0 && rgba->h > 0 && rgba->pitch == rgba->w * 4;
    if (ok) {
        out->width = rgba->w;
        out->height = rgba->h;
        SDL_LockSurface(rgba);
        const auto* pixels = static_cast<const unsigned char*>(rgba->pixels);
        out->rgba.assign(pixels, pixels + static_cast<size_t>(rgba->pitch) * static_cast<size_t>(rgba->h));
        SDL_UnlockSurface(rgba);
    }
    SDL_FreeSurface(rgba);
    return ok;
}
