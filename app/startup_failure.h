// Start-up steps that fail say why here; the entry prints it as the one line
// on standard error before it exits with a non-zero status.
#pragma once

// Records the reason (printf-style); the first report of a run wins.
void NoteStartupFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The recorded reason, or an empty string when nothing was noted.
const char* StartupFailureText();
// Forgets the recorded reason (tests run several start-ups in one process).
void ClearStartupFailure();
