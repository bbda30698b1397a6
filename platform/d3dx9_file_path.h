// Internal to the layer: a wide Windows path as a UTF-8 POSIX path ('\' becomes
// '/'). Paths longer than a Windows path or holding invalid characters fail.
#pragma once

#include <string>

#include "platform/windows.h"

bool WidePathToUtf8(LPCWSTR path, std::string* out);
