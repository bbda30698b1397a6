#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/shared/frame_pacer.h"

namespace {

constexpr int64_t kMs = 1000000;

TEST(FrameRate, AcceptsWholeNumbersFromZeroToAThousandAndNothingElse) {
    for (auto [text, rate] : {std::pair<const char*, int>{"60", 60}, {"0", 0}, {"1", 1}, {"1000", 1000},
                              {"0030", 30}, {"144", 144}}) {
        FrameRateSetting setting = ParseFrameRate(text);
        EXPECT_TRUE(setting.valid) << text;
        EXPECT_EQ(rate, setting.rate) << text;
    }
    // Unset and empty mean the default, without a warning.
    EXPECT_TRUE(ParseFrameRate(nullptr).valid);
    EXPECT_EQ(kDefaultFrameRate, ParseFrameRate(nullptr).rate);
    EXPECT_TRUE(ParseFrameRate("").valid);
    for (const char* text : {"1001", "-1", "+60", " 60", "60 ", "60.0", "6e1", "0x3c", "fast", "99999999999999999999999",
                             "60\n", "\xff"}) {
        FrameRateSetting setting = ParseFrameRate(text);
        EXPECT_FALSE(setting.valid) << text;
        EXPECT_EQ(kDefaultFrameRate, setting.rate) << text;
    }
}

TEST(FrameRate, WarningNamesTheSettingAndShowsTheValueSafely) {
    char line[256];
    EXPECT_EQ(std::string("quillfrost: QUILLFROST_FRAME_RATE=\"fast\" is not a whole number from 0 to 1000; "
                          "stepping 60 times a second"),
              FrameRateWarning(kFrameRateVariable, "fast", line, sizeof line));
    // Control bytes, quotes and bytes that are not ASCII cannot reach the
    // terminal as they are.
    std::string escaped = FrameRateWarning("frame_rate", "\x1b[2J\"\xe9", line, sizeof line);
    EXPECT_NE(std::string::npos, escaped.find("frame_rate=\"\\x1b[2J\\x22\\xe9\"")) << escaped;
    // A long value is cut short, and the line still ends as it should.
    std::string long_value(5000, '7');
    std::string cut = FrameRateWarning(kFrameRateVariable, long_value.c_str(), line, sizeof line);
    EXPECT_NE(std::string::npos, cut.find(std::string(64, '7') + "...\" is not")) << cut;
    EXPECT_LT(cut.size(), sizeof line);
    // A small buffer is filled and terminated, never overrun.
    char small[16];
    std::fill(std::begin(small), std::end(small), 'x');
    EXPECT_EQ(15u, std::string(FrameRateWarning(kFrameRateVariable, "fast", small, sizeof small)).size());
}

TEST(FrameSchedule, KeepsAnAbsoluteScheduleThatDoesNotDrift) {
    FrameSchedule schedule(60);
    int64_t first = 5 * kMs;
    int64_t next = schedule.Next(first);
    EXPECT_EQ(first + 16666666, next);
    // Frames that end at varying times short of their deadline: each next
    // deadline is one period after the last, whatever the work took.
    int64_t due = next;
    for (int frame = 1; frame <= 600; ++frame) {
        int64_t presented = due - (frame % 7) * kMs;
        due = schedule.Next(presented);
    }
    EXPECT_EQ(first + 601 * int64_t{16666666}, due);
}

TEST(FrameSchedule, MakesUpASmallDelayAndRestartsAfterALongOne) {
    FrameSchedule schedule(100);  // 10 ms
    EXPECT_EQ(10 * kMs, schedule.Next(0));
    // Presented 5 ms late: the next frame is due at 20 ms as planned, so it
    // starts sooner and the rate holds.
    EXPECT_EQ(20 * kMs, schedule.Next(15 * kMs));
    // Presented at 45 ms, 15 ms past the deadline of 30 ms: more than a period
    // late, so no burst of frames to catch up; the schedule starts again.
    EXPECT_EQ(45 * kMs, schedule.Next(45 * kMs));
    EXPECT_EQ(55 * kMs, schedule.Next(46 * kMs));
}

TEST(FrameSchedule, UnpacedNeverWaits) {
    FrameSchedule schedule(0);
    EXPECT_EQ(0, schedule.Period());
    EXPECT_EQ(123, schedule.Next(123));
    EXPECT_EQ(124, schedule.Next(124));
}

// A clock that moves only when slept on, noting every wait.
struct FakeClock {
    static inline int64_t now = 0;
    static inline std::vector<std::string> waits;
    static int64_t Now() { return now; }
    static void SleepUntil(int64_t when) {
        waits.push_back("sleep");
        now = when + 30000;  // wakes late, as a real sleep does
    }
    static void ShortWait() {
        waits.push_back("short");
        now += 20000;
    }
};

// A sleep interrupted halfway each time.
struct EarlyClock {
    static inline int64_t now = 0;
    static inline int sleeps = 0;
    static int64_t Now() { return now; }
    static void SleepUntil(int64_t when) {
        ++sleeps;
        now += (when - now) / 2 + 1;
    }
    static void ShortWait() { now += 10000; }
};

TEST(WaitUntil, SleepsMostOfTheWayThenFinishesWithShortWaits) {
    PaceClock clock{FakeClock::Now, FakeClock::SleepUntil, FakeClock::ShortWait, 200000};
    FakeClock::now = 0;
    FakeClock::waits.clear();
    WaitUntil(clock, 10 * kMs);
    EXPECT_GE(FakeClock::now, 10 * kMs);
    EXPECT_LT(FakeClock::now, 10 * kMs + 20000);
    ASSERT_FALSE(FakeClock::waits.empty());
    EXPECT_EQ("sleep", FakeClock::waits.front());
    EXPECT_EQ(1, std::count(FakeClock::waits.begin(), FakeClock::waits.end(), "sleep"));
    EXPECT_LE(FakeClock::waits.size(), 10u);  // the last 0.2 ms in 20 us steps at most

    // A deadline already past: no wait at all.
    FakeClock::waits.clear();
    WaitUntil(clock, FakeClock::now - kMs);
    EXPECT_TRUE(FakeClock::waits.empty());
}

TEST(WaitUntil, ASleepThatEndsEarlyIsSimplyTakenAgain) {
    PaceClock clock{EarlyClock::Now, EarlyClock::SleepUntil, EarlyClock::ShortWait, 100000};
    WaitUntil(clock, 16 * kMs);
    EXPECT_GE(EarlyClock::now, 16 * kMs);
    EXPECT_GT(EarlyClock::sleeps, 1);
}

TEST(SystemPaceClock, SleepsToTheDeadlineOnTheRealClock) {
    const PaceClock& clock = backend::SystemPaceClock();
    std::vector<int64_t> late;
    for (int i = 0; i < 5; ++i) {
        int64_t deadline = clock.now() + 5 * kMs;
        WaitUntil(clock, deadline);
        late.push_back(clock.now() - deadline);
    }
    std::sort(late.begin(), late.end());
    EXPECT_GE(late.front(), 0) << "never early";
    // Some 0.1 ms on a quiet machine; a busy one wakes a sleeper later.
    EXPECT_LT(late[2], 20 * kMs) << "median lateness in ns";
}

}  // namespace
