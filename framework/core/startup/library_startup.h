// Start-up and shutdown of the whole framework, run under the API lock.
#pragma once

// The body of StartLibrary: 0, or -1 with everything started so far torn
// down again.
int InitializeLibrary();
// The body of EndLibrary (and of the fatal exit): ends every subsystem in
// order and frees what start-up loaded. Returns 0.
int TerminateLibrary();

// Fatal error: logs the message, shuts down and exits with code -1.
[[noreturn]] void TerminateAndExit(const char* message);
// TerminateAndExit with a message formatted into at most 1,024 bytes.
[[noreturn]] void FatalErrorFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
