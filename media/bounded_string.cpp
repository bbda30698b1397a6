#include "media/bounded_string.h"

namespace {

constexpr size_t kMaxCount = 0x7FFFFFFF;

bool ValidCount(size_t count) { return count != 0 && count <= kMaxCount; }

}  // namespace

HRESULT CopyBounded(WCHAR* dest, size_t count, const WCHAR* source) {
    // Null pointers are refused like a bad count rather than dereferenced.
    if (!ValidCount(count) || !dest || !source) return E_INVALIDARG;
    size_t i = 0;
    for (; i + 1 < count && source[i]; ++i) dest[i] = source[i];
    dest[i] = L'\0';
    return source[i] ? kTruncated : S_OK;
}

// The paths built here need nothing but strings, so "%s" (a wide string) and
// "%%" are the whole of the format language; anything else is refused.
HRESULT FormatBoundedV(WCHAR* dest, size_t count, const WCHAR* format, va_list args) {
    if (!ValidCount(count) || !dest || !format) return E_INVALIDARG;
    size_t n = 0;
    bool truncated = false;
    auto put = [&](WCHAR c) {
        if (n + 1 < count)
            dest[n++] = c;
        else
            truncated = true;
    };
    for (const WCHAR* f = format; *f; ++f) {
        if (*f != L'%') {
            put(*f);
            continue;
        }
        const WCHAR conversion = *++f;
        const WCHAR* text = conversion == L's' ? va_arg(args, const WCHAR*) : nullptr;
        if (conversion == L'%') {
            put(L'%');
        } else if (text) {
            for (; *text; ++text) put(*text);
        } else {
            dest[0] = L'\0';
            return E_INVALIDARG;
        }
    }
    dest[n] = L'\0';
    return truncated ? kTruncated : S_OK;
}

HRESULT FormatBounded(WCHAR* dest, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    HRESULT hr = FormatBoundedV(dest, count, format, args);
    va_end(args);
    return hr;
}
