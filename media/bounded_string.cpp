#include "media/bounded_string.h"

#include "platform/shared/wide_format.h"

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

HRESULT FormatBoundedV(WCHAR* dest, size_t count, const WCHAR* format, va_list args) {
    if (!ValidCount(count) || !dest || !format) return E_INVALIDARG;
    size_t room = count - 1;
    int n = _vsnwprintf(dest, room, format, args);
    if (n < 0 || size_t(n) > room) {
        dest[room] = L'\0';
        return kTruncated;
    }
    if (size_t(n) == room) dest[room] = L'\0';
    return S_OK;
}

HRESULT FormatBounded(WCHAR* dest, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    HRESULT hr = FormatBoundedV(dest, count, format, args);
    va_end(args);
    return hr;
}
