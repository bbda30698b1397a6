// Wide-string copy and format bounded by the destination's capacity (in
// characters, terminator included): they never write past it and report
// truncation instead of failing.
#pragma once

#include <cstdarg>
#include <cstddef>

#include <windows.h>

inline constexpr HRESULT kTruncated = static_cast<HRESULT>(0x8007007Au);  // HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)

HRESULT CopyBounded(WCHAR* dest, size_t count, const WCHAR* source);
// "%s" inserts a wide string and "%%" a percent sign; any other conversion,
// or a null string, is refused with E_INVALIDARG and an empty result.
HRESULT FormatBounded(WCHAR* dest, size_t count, const WCHAR* format, ...);
HRESULT FormatBoundedV(WCHAR* dest, size_t count, const WCHAR* format, va_list args);
