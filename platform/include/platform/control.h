// Controls for tests and tools: they change how the platform layer behaves,
// so that failures and timing can be reproduced. No Windows program calls
// these; the framework never does.
#pragma once

#include <cstdint>

// ---- Modules ---------------------------------------------------------------

// While absent, LoadLibraryA of the module fails with ERROR_MOD_NOT_FOUND.
// The name is matched as LoadLibraryA matches it ("D3D9", "d3d9.dll").
// Handles already given out stay valid. The environment variable
// WQ_ABSENT_MODULES, a comma-separated list of module names, makes those
// absent from the start: "d3d9.dll" runs a program on a machine without
// Direct3D 9, which draws with its software renderer where it has one.
void WqControlSetModuleAbsent(const char* module_name, bool absent);
// While absent, GetProcAddress of the export fails with ERROR_PROC_NOT_FOUND.
void WqControlSetExportAbsent(const char* module_name, const char* export_name, bool absent);

// ---- The virtual clock -------------------------------------------------------
//
// With the virtual clock on, every clock of the layer (timeGetTime,
// GetTickCount, QueryPerformanceCounter, GetSystemTime, GetLocalTime and the
// layer's own display and audio clocks) reads one virtual microsecond
// counter. It starts at 60,000,000 us (one minute after system start, so
// timeGetTime reads 60000) and, as wall time, at 2024-01-01 00:00:00.000;
// local time equals UTC. Runs are therefore reproducible.
//
// Only the process's main thread moves the clock:
// - Sleep(ms) advances it by ms at once and only yields the processor.
// - A wait with a finite time-out that is not satisfied at once waits for a
//   signal from another thread for a short real while (at most 2 ms); when
//   none comes, it advances the clock to the end of its time-out and
//   reports WAIT_TIMEOUT.
// - A program that polls a clock in a loop without sleeping would never see
//   it move, so 1000 reads in a row with no advance in between step the
//   clock by 1 ms.
// Other threads follow the clock: their Sleep and timed waits end when the
// main thread has advanced the clock past their end (or a signal comes), or
// at the latest after the same time has passed in real time, without moving
// the clock. A background thread sleeping in a loop therefore cannot race
// the clock ahead of the program's main thread.
//
// Setting the environment variable WQ_VIRTUAL_CLOCK=1 turns the virtual
// clock on for the whole process; it is read once, at the first clock use.

void WqControlEnableVirtualClock(bool enabled);
// Advances the virtual clock (from any thread); ignored while it is off.
void WqControlAdvanceVirtualClock(std::uint64_t microseconds);
// The virtual clock's current value in microseconds (0 while it is off).
std::uint64_t WqControlGetVirtualClockUs();

// ---- Windows, input and COM classes ----------------------------------------

#include "platform/control_window.h"
#include "platform/control_com.h"
#include "platform/control_quartz.h"
#include "platform/control_input.h"

// ---- Sound ---------------------------------------------------------------------

#include "platform/control_sound.h"

// ---- Direct3D 9 and DirectDraw ---------------------------------------------

#include "platform/control_d3d9.h"
