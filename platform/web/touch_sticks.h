// Internal to the platform layer: the page's touch twin sticks
// (touch_sticks.js), read as one more controller by the gamepad source.
#pragma once

struct TouchSticks {
    double axis[4];  // left x, left y, right x, right y, -1..1, down and right positive
    bool firstButton;
};

// The sticks as they stand; false (and *sticks untouched) until the page has
// been touched.
bool SampleTouchSticks(TouchSticks* sticks);
