#include "platform/shared/frame_pacer.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int64_t kSecond = 1000000000;
}

FrameRateSetting ParseFrameRate(const char* text) {
    if (text == nullptr || *text == '\0') return {kDefaultFrameRate, true};
    int value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return {kDefaultFrameRate, false};
        value = value * 10 + (*c - '0');
        if (value > kMaxFrameRate) return {kDefaultFrameRate, false};
    }
    return {value, true};
}

char* FrameRateWarning(const char* name, const char* text, char* line, int size) {
    if (size <= 0) return line;
    // The value as given, but never more than a screen line of it, and
    // bytes a terminal could take as control sequences written as \xNN.
    char shown[64 + 8];
    int used = 0;
    const char* c = text ? text : "";
    for (; *c != '\0' && used < 64; ++c) {
        auto byte = static_cast<unsigned char>(*c);
        if (byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\') {
            shown[used++] = static_cast<char>(byte);
        } else {
            std::snprintf(shown + used, sizeof shown - used, "\\x%02x", byte);
            used += 4;
        }
    }
    shown[used] = '\0';
    std::snprintf(line, static_cast<size_t>(size),
                  "quillfrost: %s=\"%s%s\" is not a whole number from 0 to %d; stepping %d times a second",
                  name, shown, *c != '\0' ? "..." : "", kMaxFrameRate, kDefaultFrameRate);
    return line;
}

FrameSchedule::FrameSchedule(int rate) : period(rate > 0 ? kSecond / rate : 0) {}

int64_t FrameSchedule::Next(int64_t presented) {
    if (period == 0) return presented;
    if (!started) {
        started = true;
        deadline = presented;
    }
    deadline += period;
    if (presented - deadline > period) deadline = presented;
    return deadline;
}

void WaitUntil(const PaceClock& clock, int64_t when) {
    for (int64_t now = clock.now(); now < when; now = clock.now()) {
        if (when - now > clock.margin)
            clock.sleepUntil(when - clock.margin);
        else
            clock.shortWait();
    }
}

namespace {
struct Pacer {
    FrameSchedule schedule{0};
    int rate = 0;
    bool configured = false;
};
Pacer pacer;

void Configure() {
    if (pacer.configured) return;
    pacer.configured = true;
    const char* text = std::getenv(kFrameRateVariable);
    FrameRateSetting setting = ParseFrameRate(text);
    if (!setting.valid) {
        char line[256];
        std::fprintf(stderr, "%s\n", FrameRateWarning(kFrameRateVariable, text, line, sizeof line));
    }
    pacer.rate = setting.rate;
    pacer.schedule = FrameSchedule(setting.rate);
}
}  // namespace

int PacedFrameRate() {
    Configure();
    return pacer.rate;
}

void PaceFrame() {
    Configure();
    if (pacer.schedule.Period() == 0) return;
    const PaceClock& clock = backend::SystemPaceClock();
    WaitUntil(clock, pacer.schedule.Next(clock.now()));
}
