// Finds the effect and bitmap files near the working directory or the program
// by a fixed list of candidates, using bounded wide-string copies and formats
// that never write past their destination and report truncation.
#pragma once

#include <cstddef>

#include "platform/windows.h"

inline constexpr HRESULT kMediaNotFound = static_cast<HRESULT>(0x80040903u);
inline constexpr HRESULT kTruncated = static_cast<HRESULT>(0x8007007Au);  // HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)

HRESULT CopyBounded(WCHAR* dest, size_t count, const WCHAR* source);
// Like _vsnwprintf: "%s" takes a wide string.
HRESULT FormatBounded(WCHAR* dest, size_t count, const WCHAR* format, ...);
bool ProbeNearExecutable(WCHAR* dest, size_t count, const WCHAR* leaf, const WCHAR* exeDir, const WCHAR* exeName);
bool ProbeParentDirectories(WCHAR* dest, size_t count, const WCHAR* startDir, const WCHAR* leaf);
HRESULT FindMediaFile(WCHAR* dest, size_t count, const WCHAR* name);
