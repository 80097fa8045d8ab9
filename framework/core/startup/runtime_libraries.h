// Libraries the framework loads by name at run time, with the entry points
// it reads from each. A missing library or entry leaves a null, and every
// user tests for null before calling.
#pragma once

#include "platform/windows.h"

enum RuntimeLibrary {
  kRuntimeWs2_32,
  kRuntimeImm32,
  kRuntimeWinmm,
  kRuntimeOle32,
  kRuntimeComctl32,
  kRuntimeDwmapi,
  kRuntimeUser32,
  kRuntimeLibraryCount
};

// The libraries loaded at the start of start-up (ws2_32, Imm32, winmm,
// ole32, comctl32), each only when it is not loaded yet.
void LoadEarlyRuntimeLibraries();
// dwmapi and User32, loaded later in start-up.
void LoadLateRuntimeLibraries();
// Frees every loaded library and forgets all entry points.
void FreeRuntimeLibraries();

// The entry point of that name, null when absent or not loaded.
FARPROC FindRuntimeEntry(RuntimeLibrary library, const char* name);

template <typename Function>
Function RuntimeEntry(RuntimeLibrary library, const char* name) {
  return reinterpret_cast<Function>(FindRuntimeEntry(library, name));
}
