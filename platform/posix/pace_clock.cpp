// The frame limiter's clock on POSIX: CLOCK_MONOTONIC, and an absolute
// clock_nanosleep, which the kernel ends within its timer slack (50 us by
// default) of the time asked; the last stretch goes in short sleeps.
#include <cerrno>
#include <ctime>

#include "platform/shared/frame_pacer.h"

namespace {
constexpr int64_t kSecond = 1000000000;

int64_t MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kSecond + now.tv_nsec;
}

void SleepUntil(int64_t when) {
    timespec until{static_cast<time_t>(when / kSecond), static_cast<long>(when % kSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void ShortWait() {
    timespec brief{0, 20000};
    nanosleep(&brief, nullptr);
}

constexpr PaceClock kClock{MonotonicNow, SleepUntil, ShortWait, 200000};
}  // namespace

const PaceClock& backend::SystemPaceClock() { return kClock; }
