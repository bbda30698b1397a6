#include "platform/d3dx9_file_path.h"

namespace {
bool AppendUtf8(char32_t c, std::string* out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return true;
}
}  // namespace

bool WidePathToUtf8(LPCWSTR path, std::string* out) {
    out->clear();
    if (path == nullptr || path[0] == L'\0') return false;
    for (size_t i = 0; path[i] != L'\0'; ++i) {
        if (i >= MAX_PATH) return false;
        char32_t c = static_cast<char32_t>(path[i]);
        if (!AppendUtf8(c == U'\\' ? U'/' : c, out)) return false;
    }
    return true;
}
