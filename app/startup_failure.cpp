#include "app/startup_failure.h"

#include <cstdarg>
#include <cstdio>

namespace {
char failureText[512];
bool failureNoted = false;
}  // namespace

void NoteStartupFailure(const char* format, ...) {
    if (failureNoted) return;
    failureNoted = true;
    va_list args;
    va_start(args, format);
    std::vsnprintf(failureText, sizeof failureText, format, args);
    va_end(args);
    // One line: a reason that carries a newline (an effect error) is cut there.
    for (char* c = failureText; *c; ++c)
        if (*c == '\n' || *c == '\r') {
            *c = '\0';
            break;
        }
}

const char* StartupFailureText() { return failureText; }

void ClearStartupFailure() {
    failureNoted = false;
    failureText[0] = '\0';
}
