#include "platform/posix/file_path.h"

#include <cstdint>

#include "platform/posix/utf8.h"

namespace {

// A raw byte b (0x80..0xFF) travels as U+DC00 + b.
constexpr uint32_t kRawByteBase = 0xDC00;

// The caller has turned away what UTF-8 cannot carry.
void AppendUtf8(uint32_t cp, std::string& out) {
    char bytes[4];
    out.append(bytes, static_cast<size_t>(EncodeUtf8(cp, bytes)));
}

// Length of the UTF-8 sequence starting at s and its code point, or 0 when
// the bytes there are not one (over-long forms and surrogates included).
size_t DecodeUtf8(const unsigned char* s, size_t available, uint32_t& cp) {
    size_t n = s[0] < 0x80 ? 1 : (s[0] & 0xE0) == 0xC0 ? 2 : (s[0] & 0xF0) == 0xE0 ? 3 : (s[0] & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || n > available) return 0;
    cp = n == 1 ? s[0] : s[0] & (0x7F >> n);
    for (size_t i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    bool valid = cp >= kSmallest[n] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    return valid ? n : 0;
}

}  // namespace

bool WidePathToPosix(LPCWSTR path, std::string& out) {
    out.clear();
    if (!path || !*path) return false;
    for (size_t i = 0; path[i]; ++i) {
        if (i + 1 >= MAX_PATH) return false;
        auto cp = static_cast<uint32_t>(path[i]);
        if (cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF)
            out += static_cast<char>(cp - kRawByteBase);
        else if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        else
            AppendUtf8(cp == '\\' ? '/' : cp, out);
    }
    return true;
}

std::wstring PosixPathToWide(const std::string& path) {
    std::wstring out;
    const auto* s = reinterpret_cast<const unsigned char*>(path.data());
    for (size_t i = 0; i < path.size();) {
        uint32_t cp = 0;
        size_t n = DecodeUtf8(s + i, path.size() - i, cp);
        if (n == 0) {
            cp = kRawByteBase + s[i];
            n = 1;
        }
        out += cp == '/' ? L'\\' : static_cast<wchar_t>(cp);
        i += n;
    }
    return out;
}
