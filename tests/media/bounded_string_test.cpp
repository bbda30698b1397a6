#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "media/bounded_string.h"

namespace {

using namespace std::string_literals;
// The status and the text, compared as one. Not a std::pair: GCC 12's
// fortified wmemcpy warns, wrongly, on moving a short wstring into one.
struct Result {
    HRESULT status;
    std::wstring text;
    Result(HRESULT s, std::wstring_view t) : status(s), text(t) {}
    bool operator==(const Result&) const = default;
};
void PrintTo(const Result& r, std::ostream* out) {
    *out << "(" << r.status << ", " << ::testing::PrintToString(r.text) << ")";
}

// The status and the buffer up to two guard characters past count, so any
// write beyond the bound shows.
Result Shown(HRESULT hr, const WCHAR* text, size_t count) { return {hr, std::wstring(text, std::min<size_t>(count, 20) + 2)}; }

Result Copy(size_t count, const WCHAR* source) {
    WCHAR text[32];
    std::fill(text, text + 32, L'#');
    return Shown(CopyBounded(text, count, source), text, count);
}

template <typename... Args>
Result Format(size_t count, const WCHAR* format, Args... args) {
    WCHAR text[32];
    std::fill(text, text + 32, L'#');
    return Shown(FormatBounded(text, count, format, args...), text, count);
}

TEST(BoundedString, CopyReportsTruncationAndRefusesBadArgumentsWithoutWriting) {
    EXPECT_EQ(Result(S_OK, L"abcd\0##"s), Copy(5, L"abcd"));
    EXPECT_EQ(Result(kTruncated, L"abcd\0##"s), Copy(5, L"abcde"));
    EXPECT_EQ(Result(E_INVALIDARG, L"##"), Copy(0, L"abc"));
    EXPECT_EQ(Result(E_INVALIDARG, std::wstring(22, L'#')), Copy(size_t(0x80000000u), L"abc"));
    EXPECT_EQ(Result(E_INVALIDARG, std::wstring(7, L'#')), Copy(5, nullptr));
}

TEST(BoundedString, FormatFitsExactlyTruncatesAndNeverWritesPastTheBound) {
    EXPECT_EQ(Result(S_OK, L"abc\0##"s), Format(4, L"%s%s", L"a", L"bc"));
    EXPECT_EQ(Result(kTruncated, L"ab\\\0##"s), Format(4, L"%s\\%s", L"ab", L"c"));
    EXPECT_EQ(Result(S_OK, L"\0##"s), Format(1, L"%s", L""));
    EXPECT_EQ(Result(kTruncated, L"\0##"s), Format(1, L"x"));
    EXPECT_EQ(Result(kTruncated, L"a%b\0##"s), Format(4, L"%s%%%s", L"a", L"bcd"));  // cut inside an argument
    EXPECT_EQ(Result(S_OK, L"..\\x\0##"s), Format(5, L"..\\%s", L"x"));
    EXPECT_EQ(Result(E_INVALIDARG, L"##"), Format(0, L"%s", L"abc"));
    EXPECT_EQ(Result(E_INVALIDARG, std::wstring(22, L'#')), Format(size_t(0xFFFFFFFFu), L"%s", L"abc"));
}

TEST(BoundedString, FormatRefusesAnythingButStringsAndPercentSigns) {
    for (const WCHAR* format : {L"abc%d", L"%ls", L"%5s", L"ab%n", L"%S", L"abc%"}) {
        Result refused = Format(8, format, L"x");
        EXPECT_EQ(E_INVALIDARG, refused.status) << format;
        EXPECT_EQ(L'\0', refused.text[0]) << format;        // an empty result
        EXPECT_EQ(L"##", refused.text.substr(8)) << format;  // nothing past the bound
    }
    EXPECT_EQ(E_INVALIDARG, Format(8, L"a%sb", static_cast<const WCHAR*>(nullptr)).status);
}

}  // namespace
