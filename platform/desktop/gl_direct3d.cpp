// Direct3DCreate9 and CreateDevice: the GL 3.3 core context on the window.
#include "platform/desktop/heap_settings.h"
#include "platform/desktop/sdl_window.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/shared/frame_pacer.h"

struct backend::GlNativeContext {
    SDL_Window* window;
    SDL_GLContext context;
};

void backend::GlDrawableSize(const GlContext& context, int* width, int* height) {
    SDL_GL_GetDrawableSize(context.native->window, width, height);
}

void backend::GlSwapBuffers(const GlContext& context) {
    SDL_GL_SwapWindow(context.native->window);
    PaceFrame();
}

void backend::DestroyGlNativeContext(GlNativeContext* native) {
    SDL_GL_DeleteContext(native->context);
    delete native;
}

namespace {
// The game asks not to wait for the retrace, as it was written for an
// unpaced loop. Paced at the display's own refresh rate, waiting for the
// retrace gives the same pace without tearing, so the wait is asked for then:
// adaptive where the driver has it (a late frame shows at once instead of a
// whole retrace later), plain otherwise. The limiter stays on behind it, as
// drivers and compositors may ignore the request.
int SwapIntervalFor(const D3DPRESENT_PARAMETERS& parameters, SDL_Window* window) {
    if (parameters.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE) return 1;
    int rate = PacedFrameRate();
    SDL_DisplayMode mode{};
    if (rate == 0 || SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) != 0) return 0;
    return mode.refresh_rate >= rate - 1 && mode.refresh_rate <= rate + 1 ? -1 : 0;
}

class SdlGlDirect3D final : public GlDirect3D {
    bool CanDrawOn(HWND window) const override { return window->sdlWindow != nullptr; }

    backend::GlNativeContext* MakeContext(HWND window, const D3DPRESENT_PARAMETERS& parameters) override {
        // The desktop-sized full screen never changes the display mode.
        if (!parameters.Windowed) SDL_SetWindowFullscreen(window->sdlWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_GLContext gl = SDL_GL_CreateContext(window->sdlWindow);
        if (gl == nullptr) return nullptr;
        SDL_GL_MakeCurrent(window->sdlWindow, gl);
        int interval = SwapIntervalFor(parameters, window->sdlWindow);
        if (SDL_GL_SetSwapInterval(interval) != 0 && interval < 0) SDL_GL_SetSwapInterval(1);
        return new backend::GlNativeContext{window->sdlWindow, gl};
    }
};
}  // namespace

const char* backend::DeviceRequirement() { return "OpenGL 3.3 core"; }

GlDirect3D* backend::NewGlDirect3D() {
    KeepHeapForDriver();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    return new SdlGlDirect3D();
}
