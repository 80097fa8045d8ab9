// The system report written to the log at start-up: operating system,
// processors, CPU features and speed.
#pragma once

#include "platform/windows.h"

// Logs the report and records its results in the window system state and
// the clock (the time-stamp counter rate). Returns 0.
int ReportSystemInfo();

// The name the report appends to "Windows" for a version; the code for it
// is stored in *osCode, which is left unchanged for an unknown version
// (the name is then empty).
const char* DescribeWindowsVersion(const OSVERSIONINFOA& version, int* osCode);
