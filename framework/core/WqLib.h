// WqLib: the framework's public interface, the header games include.
#pragma once

#include <cstdint>

// ---- Log ("Log.txt") ----
// Every log function returns -1, so a failing function can return its log
// call as its own result.
int LogWrite(const char* text);
int LogWriteFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
int IncreaseLogIndent();
int DecreaseLogIndent();
// Settings made before start-up. The folder is a Windows path; when it is
// left empty, start-up uses the start-up directory.
void SetLogFolder(const char* folder);
void SetLogDisabled(int disabled);
void SetLogDateNamedFile(int dateNamed);
void SetLogTimeStampOff(int off);

// ---- Time ----
// Milliseconds of the multimedia clock, never negative.
int GetTimeMs();
// Microseconds from the best clock; useCpuCounter = 1 prefers the
// processor's time-stamp counter once the library is started.
std::int64_t GetTimeUs(int useCpuCounter);
// The local date and time; returns 0.
int GetLocalDate(int* year, int* month, int* day, int* hour, int* minute, int* second);
