// The last error, and the text FormatMessageW gives the codes the layer sets.
#include "platform/win32/last_error.h"

#include <cstdio>

namespace {
thread_local DWORD lastError = 0;
// Copied at once: a back end's own text may change with its next failure.
thread_local DWORD reasonCode = 0;
thread_local char reason[256] = {};
}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

void SetLastErrorWithReason(DWORD error, const char* text) {
    std::snprintf(reason, sizeof reason, "%s", text ? text : "");
    reasonCode = error;
    lastError = error;
}

// Characters beyond ASCII become '?', so the text prints in any locale.
DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
    if (flags != (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS) || !buffer) return 0;
    char text[sizeof reason];
    if (messageId == reasonCode && reason[0])
        std::snprintf(text, sizeof text, "%s", reason);
    else
        std::snprintf(text, sizeof text, "error %u", static_cast<unsigned>(messageId));
    DWORD n = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if ((*c & 0xC0) == 0x80) continue;  // the rest of a character already replaced
        if (n + 1 >= size) {
            lastError = ERROR_INSUFFICIENT_BUFFER;
            return 0;
        }
        buffer[n++] = *c < 0x80 ? static_cast<WCHAR>(*c) : L'?';
    }
    buffer[n] = L'\0';
    return n;
}
