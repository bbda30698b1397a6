// Whole-file reads by wide path, and paths narrowed to UTF-8 for messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Reads at most limit + 1 bytes, enough to tell a file is longer than limit.
bool ReadWholeFile(LPCWSTR path, size_t limit, std::vector<unsigned char>* bytes);
std::string NarrowPath(LPCWSTR path);
