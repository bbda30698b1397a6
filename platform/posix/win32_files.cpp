// File attributes, full path names and the module file name over POSIX.
// Paths convert as platform/posix/file_path.h says ("/home/x" reads "\home\x"), so
// Windows-style code works unchanged.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/posix/file_path.h"
#include <windows.h>

namespace {

// Longer paths fail, as they do on Windows.
constexpr size_t kMaxFullPath = 32767;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool CurrentDirectory(std::wstring& out) {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return false;
    out = PosixPathToWide(buffer);
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
    if (!WidePathToPosix(fileName, utf8) || stat(utf8.c_str(), &info) != 0)
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
    std::wstring path = PosixPathToWide(std::string(target, size_t(n)));
    DWORD copied = path.size() < size ? DWORD(path.size()) : size - 1;
    path.copy(fileName, copied);
    fileName[copied] = L'\0';
    return path.size() < size ? copied : size;
}
