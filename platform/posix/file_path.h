// Internal to the layer: paths between the wide Windows form and the bytes the
// POSIX calls take. '\' and '/' both separate; paths handed back use '\'.
// Bytes that are not UTF-8 travel as U+DC80..U+DCFF, so every name the file
// system holds survives the trip both ways and opens as it was found.
#pragma once

#include <string>

#include <windows.h>

// False for a null or empty path, one of MAX_PATH characters or more, and
// characters no path can hold (beyond U+10FFFF, other lone surrogates).
bool WidePathToPosix(LPCWSTR path, std::string& out);
std::wstring PosixPathToWide(const std::string& path);
