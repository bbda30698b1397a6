// Finds the effect and bitmap files near the working directory or the program
// by a fixed list of candidates, using bounded wide-string copies and formats
// that never write past their destination and report truncation.
#pragma once

#include <cstddef>

#include "media/bounded_string.h"
#include <windows.h>

inline constexpr HRESULT kMediaNotFound = static_cast<HRESULT>(0x80040903u);

// Candidates relative to the working directory, then to the program's folder;
// dest keeps the first that exists.
bool ProbeNearExecutable(WCHAR* dest, size_t count, const WCHAR* leaf, const WCHAR* exeDir, const WCHAR* exeName);
// startDir and each of its parents up to (not including) the root; dest gets
// the full path found.
bool ProbeParentDirectories(WCHAR* dest, size_t count, const WCHAR* startDir, const WCHAR* leaf);
// S_OK with a path that exists; kMediaNotFound with dest holding name;
// E_INVALIDARG for a null or empty name, a null dest or a count below 10.
// Candidates that do not fit count are skipped, never tested cut short.
HRESULT FindMediaFile(WCHAR* dest, size_t count, const WCHAR* name);
