#include "world/score_display.h"

#include "render/draw_modes.h"
#include "render/vertex_batch.h"
#include "world/world_tables.h"

namespace {

const float kHalfThickness = 0.1f;

struct BarCorners {
    float x[4];
    float y[4];
};

// The four strip corners of one bar of a digit centred at (x, y) with size s.
bool BarFor(int32_t bit, float x, float y, float s, BarCorners& c) {
    const float h = s / 2.0f;
    const float t = kHalfThickness;
    switch (bit) {
        case 1: c = {{x - h, x + h, x - h, x + h}, {y + s + t, y + s + t, y + s - t, y + s - t}}; return true;
        case 2: c = {{x - h + t, x - h + t, x - h - t, x - h - t}, {y + s, y, y + s, y}}; return true;
        case 4: c = {{x - h, x + h, x - h, x + h}, {y + t, y + t, y - t, y - t}}; return true;
        case 8: c = {{x + h + t, x + h + t, x + h - t, x + h - t}, {y + s, y, y + s, y}}; return true;
        case 16: c = {{x - h + t, x - h + t, x - h - t, x - h - t}, {y, y - s, y, y - s}}; return true;
        case 32: c = {{x - h, x + h, x - h, x + h}, {y - s + t, y - s + t, y - s - t, y - s - t}}; return true;
        case 64: c = {{x + h + t, x + h + t, x + h - t, x + h - t}, {y, y - s, y, y - s}}; return true;
        case 128: c = {{x + t, x + t, x - t, x - t}, {y + s, y - s, y + s, y - s}}; return true;
        default: return false;
    }
}

// Clamped so that the place value (1, 10, ...) never passes int32's range.
int32_t ShownCount(int32_t n) { return n > kMaxShownCount ? kMaxShownCount : n; }

int32_t DigitCount(int32_t n) {
    int32_t digits = 0;
    for (int32_t rest = n; rest > 0; rest /= 10) ++digits;
    return digits;
}

}  // namespace

void DrawSegment(int32_t bit, float x, float y, float z, float /*w*/, float s) {
    BarCorners c;
    if (!BarFor(bit, x, y, s, c)) return;
    const Vec4 blue(0.0f, 0.0f, 1.0f, 1.0f);
    const Vec4 normal(0.0f, 0.0f, 1.0f, 1.0f);
    for (int i = 0; i < 4; ++i) vertexBatch.Add(Vec4(c.x[i], c.y[i], z, 1.0f), blue, normal);
    vertexBatch.EndStrip();
}

void DrawNumber(int32_t n, float x, float y, float z, float w, float s) {
    vertexBatch.Reset();
    vertexBatch.EndStrip();
    if (n >= 1) {
        const float step = 1.5f * s;
        for (int32_t rest = ShownCount(n); rest > 0; rest /= 10) {
            x = x - step;
            const int32_t mask = digitSegments[rest % 10];
            for (int32_t bit = 1; bit <= 128; bit <<= 1)
                if (mask & bit) DrawSegment(bit, x, y, z, w, s);
        }
    }
    DrawStrip(StripTexture::Untextured, StripTechnique::WorldLighting);
}

float NumberWidth(int32_t n, float s) {
    if (n < 1) return -1.5f * s;
    return static_cast<float>(DigitCount(ShownCount(n)) - 1) * 1.5f * s;
}
