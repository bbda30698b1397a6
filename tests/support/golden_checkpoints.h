// Golden values checked in the order a run reaches them. A failure names the
// first checkpoint (a frame, a stretch of frames or of a sweep) whose value
// differs, with the expected and the actual value and the last checkpoint
// that still agreed, then lists the run's values in source form, ready to
// paste when a change of behaviour is intended.
#pragma once

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string GoldenHex(uint64_t value) {
    char text[19];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, value);
    return text;
}

// name(i) says what checkpoint i is, e.g. "frame 12".
template <typename Name>
::testing::AssertionResult MatchesGoldenSequence(const std::vector<uint64_t>& actual,
                                                 const std::vector<uint64_t>& golden, Name name) {
    std::string table = "\nthe run's values:";
    for (size_t i = 0; i < actual.size(); ++i) table += (i % 5 ? " " : "\n    ") + GoldenHex(actual[i]) + "u,";
    for (size_t i = 0; i < golden.size(); ++i) {
        const std::string before = i == 0 ? "nothing before it was checked" : name(i - 1) + " agreed";
        if (i >= actual.size())
            return ::testing::AssertionFailure() << "the run ended before " << name(i) << " (" << before << ")"
                                                 << table;
        if (actual[i] != golden[i])
            return ::testing::AssertionFailure() << name(i) << " is the first to differ: expected "
                                                 << GoldenHex(golden[i]) << ", got " << GoldenHex(actual[i]) << " ("
                                                 << before << ")" << table;
    }
    if (actual.size() > golden.size())
        return ::testing::AssertionFailure() << "the run went on past the last golden value, to "
                                             << name(actual.size() - 1) << table;
    return ::testing::AssertionSuccess();
}
