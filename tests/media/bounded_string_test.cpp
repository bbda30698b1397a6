#include <gtest/gtest.h>

#include <string>

#include "media/bounded_string.h"

namespace {

// Guard characters past the declared count show any write beyond the bound.
constexpr WCHAR kGuard = L'#';

struct Guarded {
    WCHAR text[16];
    Guarded() {
        for (WCHAR& c : text) c = kGuard;
    }
    bool UntouchedFrom(size_t index) const {
        for (size_t i = index; i < 16; ++i)
            if (text[i] != kGuard) return false;
        return true;
    }
};

TEST(CopyBounded, CopiesWhatFitsAndReportsTruncation) {
    Guarded four;
    EXPECT_EQ(S_OK, CopyBounded(four.text, 5, L"abcd"));
    EXPECT_EQ(std::wstring(L"abcd"), four.text);
    EXPECT_TRUE(four.UntouchedFrom(5));

    Guarded five;
    EXPECT_EQ(kTruncated, CopyBounded(five.text, 5, L"abcde"));
    EXPECT_EQ(std::wstring(L"abcd"), five.text);
    EXPECT_TRUE(five.UntouchedFrom(5));

    Guarded one;
    EXPECT_EQ(kTruncated, CopyBounded(one.text, 1, L"x"));
    EXPECT_EQ(L'\0', one.text[0]);
    EXPECT_EQ(S_OK, CopyBounded(one.text, 1, L""));
    EXPECT_TRUE(one.UntouchedFrom(1));
}

TEST(CopyBounded, RefusesBadArgumentsWithoutWriting) {
    Guarded g;
    EXPECT_EQ(E_INVALIDARG, CopyBounded(g.text, 0, L"abc"));
    EXPECT_EQ(E_INVALIDARG, CopyBounded(g.text, size_t(0x80000000u), L"abc"));
    EXPECT_EQ(E_INVALIDARG, CopyBounded(g.text, 5, nullptr));
    EXPECT_EQ(E_INVALIDARG, CopyBounded(nullptr, 5, L"abc"));
    EXPECT_TRUE(g.UntouchedFrom(0));
    // The largest accepted count is 0x7FFFFFFF; a short source stops the copy long before.
    EXPECT_EQ(S_OK, CopyBounded(g.text, size_t(0x7FFFFFFF), L"ab"));
    EXPECT_EQ(std::wstring(L"ab"), g.text);
    EXPECT_TRUE(g.UntouchedFrom(3));
}

TEST(FormatBounded, ExactFitShortfallAndTruncation) {
    Guarded three;
    EXPECT_EQ(S_OK, FormatBounded(three.text, 4, L"%s%s", L"a", L"bc"));
    EXPECT_EQ(std::wstring(L"abc"), three.text);
    EXPECT_TRUE(three.UntouchedFrom(4));

    Guarded two;
    EXPECT_EQ(S_OK, FormatBounded(two.text, 4, L"%s", L"ab"));
    EXPECT_EQ(std::wstring(L"ab"), two.text);

    Guarded four;
    EXPECT_EQ(kTruncated, FormatBounded(four.text, 4, L"%s\\%s", L"ab", L"c"));
    EXPECT_EQ(std::wstring(L"ab\\"), four.text);
    EXPECT_TRUE(four.UntouchedFrom(4));

    Guarded many;
    EXPECT_EQ(kTruncated, FormatBounded(many.text, 6, L"..\\..\\%s", L"tiles.bmp"));
    EXPECT_EQ(std::wstring(L"..\\.."), many.text);
    EXPECT_TRUE(many.UntouchedFrom(6));

    Guarded one;
    EXPECT_EQ(S_OK, FormatBounded(one.text, 1, L"%s", L""));
    EXPECT_EQ(kTruncated, FormatBounded(one.text, 1, L"x"));
    EXPECT_EQ(L'\0', one.text[0]);
    EXPECT_TRUE(one.UntouchedFrom(1));
}

TEST(FormatBounded, RefusesBadArgumentsWithoutWriting) {
    Guarded g;
    EXPECT_EQ(E_INVALIDARG, FormatBounded(g.text, 0, L"%s", L"abc"));
    EXPECT_EQ(E_INVALIDARG, FormatBounded(g.text, size_t(0xFFFFFFFFu), L"%s", L"abc"));
    EXPECT_EQ(E_INVALIDARG, FormatBounded(g.text, 5, nullptr));
    EXPECT_TRUE(g.UntouchedFrom(0));
}

TEST(FormatBounded, InvalidFormatIsReportedAndTerminated) {
    Guarded g;
    EXPECT_EQ(kTruncated, FormatBounded(g.text, 8, L"ab%n"));
    EXPECT_EQ(L'\0', g.text[7]);
    EXPECT_TRUE(g.UntouchedFrom(8));
}

}  // namespace
