// The frame limiter. Every rate, speed and timer of the game is counted in
// frames, tuned for about 60 a second, and the loop runs a frame whenever no
// message is waiting; so each back end paces its Present here, and the game
// steps at the same rate on every machine. QUILLFROST_FRAME_RATE sets the
// rate; 0 gives the unpaced loop. The game itself never sees any of this.
#pragma once

#include <cstdint>

#include "platform/backend.h"

inline constexpr int kDefaultFrameRate = 60;
inline constexpr int kMaxFrameRate = 1000;
inline constexpr char kFrameRateVariable[] = "QUILLFROST_FRAME_RATE";

struct FrameRateSetting {
    int rate;    // steps a second; 0: not paced
    bool valid;  // false: the text was no whole number from 0 to 1000, and rate is the default
};

// Unset (null) or empty: the default. Digits only, no sign or spaces.
FrameRateSetting ParseFrameRate(const char* text);

// One line for standard error naming the setting (the variable, or the web
// page's parameter) and the rejected value, shortened, with anything but
// printable ASCII escaped, e.g.
//   quillfrost: QUILLFROST_FRAME_RATE="fast" is not a whole number from 0 to 1000; stepping 60 times a second
// Writes at most size bytes, always terminated; returns `line`.
char* FrameRateWarning(const char* name, const char* text, char* line, int size);

// Deadlines on an absolute schedule, so the rate does not drift: each one a
// period after the last. A frame that is late by less than a period is made
// up by starting the next one at once; one later than that starts the
// schedule again from its end rather than running frames back to back.
class FrameSchedule {
public:
    explicit FrameSchedule(int rate);
    int64_t Period() const { return period; }
    // Given when a frame was presented, when the next may start; with no
    // limiter, `presented` itself.
    int64_t Next(int64_t presented);

private:
    int64_t period;  // nanoseconds; 0: not paced
    int64_t deadline = 0;
    bool started = false;
};

// What a back end waits with: a monotonic clock in nanoseconds, a sleep to a
// time on it (which may end early or late), and a short wait for the last
// stretch, which the coarse sleep ends `margin` nanoseconds before.
struct PaceClock {
    int64_t (*now)();
    void (*sleepUntil)(int64_t when);
    void (*shortWait)();
    int64_t margin;
};

// Sleeps until `when`: the coarse sleep first, then short waits, so the wait
// costs next to no processor time.
void WaitUntil(const PaceClock& clock, int64_t when);

// The back end's hook: called right after Present has handed a picture over.
// The first call reads QUILLFROST_FRAME_RATE (warning once on standard error
// about a bad value); every call waits until the next frame is due.
void PaceFrame();
// The rate the hook paces at (reads the variable if no frame has yet).
int PacedFrameRate();

// Each back end supplies its clock as backend::SystemPaceClock
// (platform/posix/pace_clock.cpp on Linux and the web,
// platform/windows/pace_clock.cpp on Windows).
