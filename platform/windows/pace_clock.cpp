// The frame limiter's clock on Windows: QueryPerformanceCounter, and a
// waitable timer to sleep on. Windows 10 1803 and later give a high-resolution
// timer that ends within a fraction of a millisecond; where that is refused,
// timeBeginPeriod(1) brings ordinary timers and Sleep from a 15.6 ms grain to
// about 1 ms, and the wider margin covers the rest. Wine accepts the flag and
// ends its timers about 0.2 ms late, rounded to its wine server's millisecond.
#include <windows.h>

#include "platform/shared/frame_pacer.h"

namespace {
constexpr int64_t kSecond = 1000000000;
constexpr int64_t kMillisecond = 1000000;
constexpr int64_t kTick = 100;  // a timer's due time counts 100 ns ticks
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x00000002;
#endif

HANDLE timer = nullptr;
int64_t frequency = 1;

int64_t CounterNow() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // In two parts, so that counts * 10^9 cannot overflow after long uptimes.
    const int64_t counts = counter.QuadPart;
    return counts / frequency * kSecond + counts % frequency * kSecond / frequency;
}

// Waits `span` nanoseconds from now, at least the timer's grain.
void SleepFor(int64_t span) {
    if (timer != nullptr) {
        LARGE_INTEGER due;
        due.QuadPart = -(span + kTick - 1) / kTick;  // negative: relative to now
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            WaitForSingleObject(timer, INFINITE);
            return;
        }
    }
    Sleep(span > kMillisecond ? static_cast<DWORD>(span / kMillisecond) : 1);
}

void SleepUntil(int64_t when) {
    const int64_t span = when - CounterNow();
    if (span > 0) SleepFor(span);
}

// The last stretch: the shortest wait the timer gives (about 0.2 ms under
// Wine, up to a millisecond elsewhere), which hands the core back each time.
void ShortWait() { SleepFor(100000); }

PaceClock MakeClock() {
    LARGE_INTEGER counts;
    QueryPerformanceFrequency(&counts);  // never fails from Windows XP on
    frequency = counts.QuadPart > 0 ? counts.QuadPart : 1;
    timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer != nullptr) return {CounterNow, SleepUntil, ShortWait, 1 * kMillisecond};
    // Before Windows 10 1803 the flag is refused: a 1 ms system timer instead,
    // kept for the life of the process.
    timeBeginPeriod(1);
    timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    return {CounterNow, SleepUntil, ShortWait, 2 * kMillisecond};
}
}  // namespace

const PaceClock& backend::SystemPaceClock() {
    static const PaceClock clock = MakeClock();
    return clock;
}
