// Direct3DCreate9 and CreateDevice: a WebGL 2 context on the page's canvas.
// Present hands the frame to the browser and sleeps (through Asyncify) until
// the animation frame on which the next step is due, so the game's loop runs
// unchanged while the page stays responsive.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "platform/gl/gl_direct3d.h"
#include "platform/shared/frame_pacer.h"
#include "platform/web/web_window.h"

struct backend::GlNativeContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context;
};

// quillfrostFrames counts the frames shown and quillfrostWorkMs adds up the
// time from each wake-up to the next Present: the game's own work per frame.
// The browser calls back at the display's rate, which may be 120 or 144 a
// second; a step is taken only on a callback at or after its deadline, less
// a quarter period so that the jitter of a 60 Hz display does not halve the
// rate. The deadlines follow the absolute schedule of the desktop's limiter.
EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
    var now = performance.now();
    if (Module.quillfrostWoke !== undefined) {
        Module.quillfrostFrames = (Module.quillfrostFrames || 0) + 1;
        Module.quillfrostWorkMs = (Module.quillfrostWorkMs || 0) + (now - Module.quillfrostWoke);
    }
    var period = Module.quillfrostPeriodMs || 0;
    if (period > 0) {
        var due = Module.quillfrostDue === undefined ? now : Module.quillfrostDue;
        due += period;
        if (now - due > period) due = now;
        Module.quillfrostDue = due;
    }
    for (;;) {
        var tick = await new Promise(function(resolve) { requestAnimationFrame(resolve); });
        // Without its display the game has nothing to show and cannot get it
        // back: it stops here, as the page has told the player.
        if (Module.quillfrostDisplayLost) await new Promise(function() {});
        if (!(period > 0) || tick >= Module.quillfrostDue - period / 4) break;
    }
    Module.quillfrostWoke = performance.now();
});

EM_JS(void, SetPagePeriod, (double milliseconds), { Module.quillfrostPeriodMs = milliseconds; });

// The page's address gives the rate as ?frame_rate=N; the length of the
// value in bytes, or -1 where there is none.
EM_JS(int, PageFrameRateText, (char* buffer, int size), {
    var text = new URLSearchParams(location.search).get("frame_rate");
    if (text === null) return -1;
    stringToUTF8(text, buffer, size);
    return lengthBytesUTF8(text);
});

namespace {
void SetPaceFromAddress() {
    char text[256];
    int length = PageFrameRateText(text, sizeof text);
    FrameRateSetting setting = ParseFrameRate(length < 0 ? nullptr : text);
    if (length >= static_cast<int>(sizeof text)) setting = {kDefaultFrameRate, false};
    if (!setting.valid) {
        char line[256];
        std::fprintf(stderr, "%s\n", FrameRateWarning("frame_rate", text, line, sizeof line));
    }
    SetPagePeriod(setting.rate > 0 ? 1000.0 / setting.rate : 0.0);
}
}  // namespace

void backend::GlDrawableSize(const GlContext& context, int* width, int* height) {
    emscripten_webgl_get_drawing_buffer_size(context.native->context, width, height);
}

void backend::GlSwapBuffers(const GlContext&) { WaitForAnimationFrame(); }

void backend::DestroyGlNativeContext(GlNativeContext* native) {
    emscripten_webgl_destroy_context(native->context);
    delete native;
}

namespace {
// The canvas's drawing buffer takes the back buffer's size (the viewport's,
// as the game asks for the desktop's); CSS stretches it over the page. Full
// screen needs a gesture in a browser: the page's button asks for it.
class WebGlDirect3D final : public GlDirect3D {
    bool CanDrawOn(HWND window) const override { return IsLiveWindow(window); }

    backend::GlNativeContext* MakeContext(HWND, const D3DPRESENT_PARAMETERS& parameters) override {
        if (parameters.BackBufferWidth != 0 && parameters.BackBufferHeight != 0)
            emscripten_set_canvas_element_size(kCanvasSelector, static_cast<int>(parameters.BackBufferWidth),
                                               static_cast<int>(parameters.BackBufferHeight));
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.majorVersion = 2;
        attributes.minorVersion = 0;
        attributes.alpha = EM_FALSE;  // the back buffer is X8R8G8B8: the page never shows through
        attributes.depth = EM_TRUE;
        attributes.stencil = EM_FALSE;
        attributes.antialias = EM_FALSE;
        attributes.premultipliedAlpha = EM_FALSE;
        EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl = emscripten_webgl_create_context(kCanvasSelector, &attributes);
        if (gl <= 0) return nullptr;
        emscripten_webgl_make_context_current(gl);
        return new backend::GlNativeContext{gl};
    }
};
}  // namespace

const char* backend::DeviceRequirement() { return "WebGL 2"; }

GlDirect3D* backend::NewGlDirect3D() {
    SetPaceFromAddress();
    return new WebGlDirect3D();
}
