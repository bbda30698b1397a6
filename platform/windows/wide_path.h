// Whole-file reads by wide path, and paths narrowed to UTF-8 for messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The whole file, or its first limit + 1 bytes when it is longer than limit
// (enough for the caller to refuse it); nothing larger is allocated.
bool ReadWholeFile(LPCWSTR path, size_t limit, std::vector<unsigned char>* bytes);
std::string NarrowPath(LPCWSTR path);
