// File attributes, full path names and the module file name over POSIX.
// Wide paths are UTF-8 on disk; '\' and '/' both separate, and paths handed
// back use '\' ("/home/x" reads "\home\x"), so Windows-style code works unchanged.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

// Longer paths fail, as they do on Windows.
constexpr size_t kMaxFullPath = 32767;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Bytes that are not valid UTF-8 travel as U+DC80..U+DCFF so they survive the
// trip back to the file system.
constexpr wchar_t kRawByteBase = 0xDC00;

void AppendUtf8(std::string& out, wchar_t c) {
    auto cp = static_cast<uint32_t>(c);
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
        out += static_cast<char>(cp - kRawByteBase);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Returns false for characters no file name can hold (beyond U+10FFFF).
bool ToUtf8Path(const std::wstring& path, std::string& out) {
    out.clear();
    for (wchar_t c : path) {
        if (static_cast<uint32_t>(c) > 0x10FFFF) return false;
        AppendUtf8(out, IsSeparator(c) ? L'/' : c);
    }
    return true;
}

// Length of the UTF-8 sequence starting at s and its code point, or 0.
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

std::wstring FromUtf8Path(const std::string& path) {
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

bool CurrentDirectory(std::wstring& out) {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return false;
    out = FromUtf8Path(buffer);
    return true;
}

void SplitInto(const std::wstring& path, std::vector<std::wstring>& parts) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::wstring part = path.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
}

// The absolute '\' form of path with "." and ".." resolved lexically, as
// Windows does; lastStart is where the last component begins (npos at the root
// or after a trailing separator).
struct FullPath {
    std::wstring text;
    size_t lastStart = std::wstring::npos;
};

bool MakeFullPath(const wchar_t* name, FullPath& full) {
    if (!name || !*name) return false;
    std::wstring path(name);
    std::vector<std::wstring> parts;
    if (!IsSeparator(path[0])) {
        std::wstring cwd;
        if (!CurrentDirectory(cwd)) return false;
        SplitInto(cwd, parts);
    }
    SplitInto(path, parts);
    full.text.clear();
    for (const std::wstring& part : parts) {
        full.text += L'\\';
        full.lastStart = full.text.size();
        full.text += part;
    }
    if (parts.empty() || IsSeparator(path.back())) {
        full.text += L'\\';
        full.lastStart = std::wstring::npos;
    }
    return true;
}

}  // namespace

// The name goes to the file system as given, not resolved by name first as
// Windows would: what is found here must open the same way in the loaders,
// which resolve ".." through the real folders too.
DWORD GetFileAttributesW(LPCWSTR fileName) {
    std::string utf8;
    struct stat info;
    if (!fileName || !*fileName || !ToUtf8Path(fileName, utf8) || stat(utf8.c_str(), &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
    FullPath full;
    if (!MakeFullPath(fileName, full) || full.text.size() > kMaxFullPath) return 0;
    auto length = static_cast<DWORD>(full.text.size());
    if (!buffer || bufferLength <= length) return length + 1;
    full.text.copy(buffer, length);
    buffer[length] = L'\0';
    if (filePart) *filePart = full.lastStart == std::wstring::npos ? nullptr : buffer + full.lastStart;
    return length;
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR fileName, DWORD size) {
    // One module only: every handle names the executable.
    char target[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", target, sizeof target - 1);
    if (n <= 0 || !fileName || size == 0) return 0;
    std::wstring path = FromUtf8Path(std::string(target, size_t(n)));
    DWORD copied = path.size() < size ? DWORD(path.size()) : size - 1;
    path.copy(fileName, copied);
    fileName[copied] = L'\0';
    return path.size() < size ? copied : size;
}
