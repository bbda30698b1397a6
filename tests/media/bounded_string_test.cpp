#include <gtest/gtest.h>

#include <string>

#include "media/bounded_string.h"

namespace {

// Guard characters past the count show any write beyond the bound.
struct Guarded {
    WCHAR text[16];
    Guarded() { std::fill(text, text + 16, L'#'); }
    bool UntouchedFrom(size_t index) const { return std::all_of(text + index, text + 16, [](WCHAR c) { return c == L'#'; }); }
};

TEST(CopyBounded, CopiesWhatFitsAndReportsTruncation) {
    Guarded four, five, none;
    EXPECT_EQ(S_OK, CopyBounded(four.text, 5, L"abcd"));
    EXPECT_EQ(std::wstring(L"abcd"), four.text);
    EXPECT_EQ(kTruncated, CopyBounded(five.text, 5, L"abcde"));
    EXPECT_EQ(std::wstring(L"abcd"), five.text);
    EXPECT_TRUE(four.UntouchedFrom(5) && five.UntouchedFrom(5));

    EXPECT_EQ(E_INVALIDARG, CopyBounded(none.text, 0, L"abc"));
    EXPECT_EQ(E_INVALIDARG, CopyBounded(none.text, size_t(0x80000000u), L"abc"));
    EXPECT_EQ(E_INVALIDARG, CopyBounded(none.text, 5, nullptr));
    EXPECT_TRUE(none.UntouchedFrom(0));
}

TEST(FormatBounded, ExactFitAndTruncation) {
    Guarded three, four, one;
    EXPECT_EQ(S_OK, FormatBounded(three.text, 4, L"%s%s", L"a", L"bc"));
    EXPECT_EQ(std::wstring(L"abc"), three.text);
    EXPECT_EQ(kTruncated, FormatBounded(four.text, 4, L"%s\\%s", L"ab", L"c"));
    EXPECT_EQ(std::wstring(L"ab\\"), four.text);
    EXPECT_TRUE(three.UntouchedFrom(4) && four.UntouchedFrom(4));

    EXPECT_EQ(S_OK, FormatBounded(one.text, 1, L"%s", L""));
    EXPECT_EQ(kTruncated, FormatBounded(one.text, 1, L"x"));
    EXPECT_EQ(L'\0', one.text[0]);
    EXPECT_TRUE(one.UntouchedFrom(1));
}

TEST(FormatBounded, BadCountsAndFormatsNeverWritePastTheBound) {
    Guarded g;
    EXPECT_EQ(E_INVALIDARG, FormatBounded(g.text, 0, L"%s", L"abc"));
    EXPECT_EQ(E_INVALIDARG, FormatBounded(g.text, size_t(0xFFFFFFFFu), L"%s", L"abc"));
    EXPECT_TRUE(g.UntouchedFrom(0));
    EXPECT_EQ(kTruncated, FormatBounded(g.text, 8, L"ab%n"));  // refused conversion
    EXPECT_EQ(L'\0', g.text[7]);
    EXPECT_TRUE(g.UntouchedFrom(8));
}

}  // namespace
