#include <gtest/gtest.h>

#include <string>

#include "platform/posix/file_path.h"
#include "platform/posix/utf8.h"

namespace {

// The bytes written, '|', then the untouched rest of the four ('#').
std::string Encoded(uint32_t codePoint) {
    char bytes[4] = {'#', '#', '#', '#'};
    const int length = EncodeUtf8(codePoint, bytes);
    if (length < 0 || length > 4) return "bad length " + std::to_string(length);
    return std::string(bytes, bytes + length) + "|" + std::string(bytes + length, bytes + 4);
}

TEST(Utf8, EncodesEachLengthUpToItsLastCodePoint) {
    EXPECT_EQ(std::string(1, '\0') + "|###", Encoded(0));
    EXPECT_EQ("\x7F|###", Encoded(0x7F));
    EXPECT_EQ("\xC2\x80|##", Encoded(0x80));
    EXPECT_EQ("\xDF\xBF|##", Encoded(0x7FF));
    EXPECT_EQ("\xE0\xA0\x80|#", Encoded(0x800));
    EXPECT_EQ("\xE2\x82\xAC|#", Encoded(0x20AC));
    EXPECT_EQ("\xED\x9F\xBF|#", Encoded(0xD7FF));
    EXPECT_EQ("\xEE\x80\x80|#", Encoded(0xE000));
    EXPECT_EQ("\xEF\xBF\xBF|#", Encoded(0xFFFF));
    EXPECT_EQ("\xF0\x90\x80\x80|", Encoded(0x10000));
    EXPECT_EQ("\xF0\x9F\x98\x80|", Encoded(0x1F600));
    EXPECT_EQ("\xF4\x8F\xBF\xBF|", Encoded(0x10FFFF));
}

// Wide strings here hold code points, so either half of a surrogate pair is
// a lone surrogate: it has no UTF-8 form and nothing is written for it.
TEST(Utf8, RefusesSurrogatesAndWhatLiesBeyondUnicode) {
    for (uint32_t codePoint : {0xD800u, 0xDBFFu, 0xDC00u, 0xDC80u, 0xDFFFu, 0x110000u, 0xFFFFFFFFu})
        EXPECT_EQ("|####", Encoded(codePoint)) << std::hex << codePoint;
}

// The path decoder is written apart from the encoder, so a round trip
// through both checks every code point's bytes.
TEST(Utf8, EveryCodePointComesBackThroughTheFilePathDecoder) {
    int checked = 0;
    for (uint32_t codePoint = 1; codePoint <= 0x10FFFF; codePoint += codePoint < 0x1000 ? 1 : 37) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        if (codePoint == '/' || codePoint == '\\') continue;
        const std::wstring wide{static_cast<wchar_t>(codePoint)};
        std::string bytes;
        ASSERT_TRUE(WidePathToPosix(wide.c_str(), bytes)) << std::hex << codePoint;
        ASSERT_EQ(wide, PosixPathToWide(bytes)) << std::hex << codePoint;
        ++checked;
    }
    EXPECT_GT(checked, 30000);
}

}  // namespace
