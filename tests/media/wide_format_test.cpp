#include <gtest/gtest.h>

#include <string>

#include "platform/wide_format.h"

namespace {

// Returns the call's result and the whole buffer, guard characters included.
std::pair<int, std::wstring> Format(size_t count, const wchar_t* format, ...) {
    wchar_t buffer[32];
    std::fill(buffer, buffer + 32, L'#');
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return {n, std::wstring(buffer, count + 3)};
}

TEST(WideFormat, CountExcludesTheTerminatorAndOverflowLeavesNone) {
    EXPECT_EQ(std::make_pair(3, std::wstring(L"abc\0####", 8)), Format(5, L"%s", L"abc"));
    EXPECT_EQ(std::make_pair(5, std::wstring(L"abcde###")), Format(5, L"%s", L"abcde"));
    EXPECT_EQ(std::make_pair(-1, std::wstring(L"abc-d###")), Format(5, L"%s-%s", L"abc", L"def"));
    EXPECT_EQ(-1, Format(8, L"ab%n", nullptr).first);
    EXPECT_EQ(-1, Format(8, L"abc%").first);
    // A huge width stops at the bound instead of running on.
    EXPECT_EQ(std::make_pair(-1, std::wstring(L"    ###")), Format(4, L"%2000000000d", 1));
}

TEST(WideFormat, StringsAreWideUnlessMarkedNarrowAndNumbersFollowC) {
    EXPECT_EQ(std::wstring(L"w n n w\u4e2d"), Format(20, L"%s %hs %S %ls", L"w", "n", "n", L"w\u4e2d").second.c_str());
    EXPECT_EQ(std::wstring(L"[  ab][a]|x"), Format(20, L"[%4s][%.1s]|%c", L"ab", L"ab", L'x').second.c_str());
    EXPECT_EQ(std::wstring(L"-42|+7|0042|0XFF|00012"), Format(30, L"%d|%+d|%04d|%#X|%.5d", -42, 7, 42, 255, 12).second.c_str());
    EXPECT_EQ(std::wstring(L"-9223372036854775808|1.50"), Format(30, L"%lld|%.2f", (long long)INT64_MIN, 1.5).second.c_str());
}

}  // namespace
