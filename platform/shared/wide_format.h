// Microsoft's _vsnwprintf on Linux: "%s" and "%c" take WIDE arguments ("%hs",
// "%S" narrow), the count excludes the terminator, and output that does not fit
// returns -1 with the buffer left unterminated. No "%n"; locale-independent.
#pragma once

#include <cstdarg>
#include <cstddef>

#ifdef _WIN32
// Windows has the original in its C runtime.
#include <wchar.h>
#else
// Writes at most count characters. Returns the length when it is below count
// (terminated), count when it fills the buffer exactly (NOT terminated), and -1
// when the output is longer than count or the format is invalid.
int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);
#endif
