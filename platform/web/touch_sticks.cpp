// The page's touch sticks as controller readings: touch_sticks.js tracks the
// fingers and draws the rings; this only reads its values once a poll.
#include "platform/web/touch_sticks.h"

#include <emscripten.h>

namespace {
// Writes five doubles at values: the four axes and the first button.
EM_JS(int, ReadTouchSticks, (double* values), {
    var touch = window.quillfrostTouch;
    return touch ? touch.sample(HEAPF64, values >> 3) : 0;
});
}  // namespace

bool SampleTouchSticks(TouchSticks* sticks) {
    static double values[5];  // static: nothing allocated per poll
    if (!ReadTouchSticks(values)) return false;
    for (int i = 0; i < 4; ++i) sticks->axis[i] = values[i];
    sticks->firstButton = values[4] != 0.0;
    return true;
}
