#include <gtest/gtest.h>

#include <string>

#include "platform/wide_format.h"

namespace {

int Format(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

// Formats into a roomy buffer and returns the text.
template <typename... Args>
std::wstring Text(const wchar_t* format, Args... args) {
    wchar_t buffer[256];
    int n = Format(buffer, 256, format, args...);
    return n < 0 ? L"<failed>" : std::wstring(buffer, size_t(n));
}

TEST(WideFormat, CountExcludesTerminatorAndOverflowLeavesBufferUnterminated) {
    wchar_t b[8];
    std::fill(b, b + 8, L'#');
    EXPECT_EQ(3, Format(b, 5, L"%s", L"abc"));
    EXPECT_EQ(std::wstring(L"abc"), b);

    std::fill(b, b + 8, L'#');
    EXPECT_EQ(5, Format(b, 5, L"%s", L"abcde"));  // exact fit: no terminator
    EXPECT_EQ(std::wstring(L"abcde###"), std::wstring(b, 8));

    std::fill(b, b + 8, L'#');
    EXPECT_EQ(-1, Format(b, 5, L"%s-%s", L"abc", L"def"));
    EXPECT_EQ(std::wstring(L"abc-d###"), std::wstring(b, 8));

    EXPECT_EQ(-1, Format(b, 0, L"x"));
    EXPECT_EQ(0, Format(b, 0, L""));
}

TEST(WideFormat, StringsAreWideUnlessMarkedNarrow) {
    EXPECT_EQ(L"media\\tiles.bmp", Text(L"media\\%s", L"tiles.bmp"));
    EXPECT_EQ(L"w n n w", Text(L"%s %hs %S %ls", L"w", "n", "n", L"w"));
    EXPECT_EQ(L"\u00e9\u4e2d", Text(L"%s", L"\u00e9\u4e2d"));
    EXPECT_EQ(L"[  ab][ab  ][a]", Text(L"[%4s][%-4s][%.1s]", L"ab", L"ab", L"ab"));
    EXPECT_EQ(L"(null)", Text(L"%s", static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(L"x y", Text(L"%c %hc", L'x', 'y'));
}

TEST(WideFormat, Numbers) {
    EXPECT_EQ(L"-42|+7| 7|0042|  -5|ff|0XFF|017", Text(L"%d|%+d|% d|%04d|%4d|%x|%#X|%#o", -42, 7, 7, 42, -5, 255, 255, 15));
    EXPECT_EQ(L"-2147483648|4294967295", Text(L"%d|%u", INT32_MIN, 4294967295u));
    EXPECT_EQ(L"-9223372036854775808|18446744073709551615",
              Text(L"%lld|%I64u", static_cast<long long>(INT64_MIN), static_cast<unsigned long long>(UINT64_MAX)));
    EXPECT_EQ(L"00012|-0012|   |7  ", Text(L"%.5d|%05d|%3.0d|%-*d", 12, -12, 0, 3, 7));
    EXPECT_EQ(L"1.500|  2.5|1e+02", Text(L"%.3f|%5.1f|%.0e", 1.5, 2.5, 100.0));
    EXPECT_EQ(L"100%", Text(L"%d%%", 100));
}

TEST(WideFormat, UnknownConversionsFail) {
    wchar_t b[8];
    EXPECT_EQ(-1, Format(b, 8, L"%n", nullptr));
    EXPECT_EQ(-1, Format(b, 8, L"%q"));
    EXPECT_EQ(-1, Format(b, 8, L"abc%"));
}

TEST(WideFormat, HugeWidthStopsAtTheBound) {
    wchar_t b[8];
    std::fill(b, b + 8, L'#');
    EXPECT_EQ(-1, Format(b, 4, L"%2000000000d", 1));
    EXPECT_EQ(std::wstring(L"    ####"), std::wstring(b, 8));
}

}  // namespace
