#include "media/media_search.h"

namespace {

constexpr size_t kPathChars = MAX_PATH;
constexpr size_t kMinimumCount = 10;

// The bounded helpers refuse these without writing; probing the untouched
// destination would then read whatever it held.
bool UsableDestination(const WCHAR* dest, size_t count) { return dest && count != 0 && count <= 0x7FFFFFFF; }

bool Exists(const WCHAR* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// A candidate cut off at the capacity names some other file or folder (often a
// parent directory), so only candidates that fitted are tested.
bool Fits(HRESULT written) { return written == S_OK; }

struct ExecutablePlace {
    WCHAR dir[kPathChars] = {};
    WCHAR name[kPathChars] = {};
};

void LocateExecutable(ExecutablePlace& place) {
    WCHAR path[kPathChars] = {};
    GetModuleFileNameW(nullptr, path, kPathChars);
    path[kPathChars - 1] = L'\0';
    WCHAR* slash = nullptr;
    for (WCHAR* p = path; *p; ++p)
        if (*p == L'\\') slash = p;
    if (!slash) {
        CopyBounded(place.dir, kPathChars, path);
        return;
    }
    CopyBounded(place.name, kPathChars, slash + 1);
    WCHAR* dot = nullptr;
    for (WCHAR* p = place.name; *p; ++p)
        if (*p == L'.') dot = p;
    if (dot) *dot = L'\0';
    *slash = L'\0';
    CopyBounded(place.dir, kPathChars, path);
}

// Full path of dir into out; false when it cannot be had or does not fit, in
// which case out and last are not to be read.
bool FullPathOf(const WCHAR* dir, WCHAR* out, WCHAR*& last) {
    last = nullptr;
    DWORD n = GetFullPathNameW(dir, kPathChars, out, &last);
    return n != 0 && n < kPathChars;
}

}  // namespace

bool ProbeNearExecutable(WCHAR* dest, size_t count, const WCHAR* leaf, const WCHAR* exeDir, const WCHAR* exeName) {
    if (!UsableDestination(dest, count) || !leaf || !exeDir || !exeName) return false;
    if (Fits(CopyBounded(dest, count, leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"..\\%s", leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"..\\..\\%s", leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"%s\\%s", exeDir, leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"%s\\..\\%s", exeDir, leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"%s\\..\\..\\%s", exeDir, leaf)) && Exists(dest)) return true;
    if (Fits(FormatBounded(dest, count, L"%s\\..\\%s\\%s", exeDir, exeName, leaf)) && Exists(dest)) return true;
    return Fits(FormatBounded(dest, count, L"%s\\..\\..\\%s\\%s", exeDir, exeName, leaf)) && Exists(dest);
}

bool ProbeParentDirectories(WCHAR* dest, size_t count, const WCHAR* startDir, const WCHAR* leaf) {
    WCHAR dir[kPathChars];
    WCHAR scratch[kPathChars];
    WCHAR* last = nullptr;
    if (!UsableDestination(dest, count) || !leaf || !FullPathOf(startDir, dir, last)) return false;
    while (last && *last) {
        bool fits = Fits(FormatBounded(scratch, kPathChars, L"%s\\%s", dir, leaf));
        if (fits && Exists(scratch) && Fits(CopyBounded(dest, count, scratch))) return true;
        // A cut-off "\.." would name dir itself again and never reach the root.
        if (FormatBounded(scratch, kPathChars, L"%s\\..", dir) != S_OK) return false;
        if (!FullPathOf(scratch, dir, last)) return false;
    }
    return false;
}

HRESULT FindMediaFile(WCHAR* dest, size_t count, const WCHAR* name) {
    if (!name || !*name || !UsableDestination(dest, count) || count < kMinimumCount) return E_INVALIDARG;
    ExecutablePlace exe;
    LocateExecutable(exe);
    WCHAR mediaLeaf[kPathChars];
    bool media = Fits(FormatBounded(mediaLeaf, kPathChars, L"media\\%s", name));
    if (ProbeNearExecutable(dest, count, name, exe.dir, exe.name) ||
        (media && ProbeNearExecutable(dest, count, mediaLeaf, exe.dir, exe.name)) ||
        ProbeParentDirectories(dest, count, L".", name) || ProbeParentDirectories(dest, count, exe.dir, name) ||
        (media && ProbeParentDirectories(dest, count, L".", mediaLeaf)) ||
        (media && ProbeParentDirectories(dest, count, exe.dir, mediaLeaf)))
        return S_OK;
    CopyBounded(dest, count, name);
    return kMediaNotFound;
}
