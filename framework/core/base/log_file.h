// The framework's log: "Log.txt" in the log folder, re-created at every
// start, opened and closed for each write so it is complete on disk after
// every line. Everything written also goes to the debugger output.
#pragma once

#include <cstdarg>

#include "WqLib.h"

// Re-creates the log file empty; returns 0.
int OpenLogFile();
// LogWrite under a second name, for callers that take its address.
int LogWriteThunk(const char* text);
// LogWriteFormat with an argument list.
int LogWriteFormatV(const char* format, va_list args);
const char* GetLogFolder();
