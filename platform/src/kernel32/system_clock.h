// The layer's one clock: real (CLOCK_MONOTONIC / CLOCK_REALTIME) or the
// virtual clock that tests and tools switch on (see platform/control.h).
// Every module that keeps time (timers, vertical blank, audio) reads it here.
#pragma once

#include <cstdint>

namespace wqplat {

// Monotonic microseconds since the system started. Reading the virtual
// clock in a tight loop from the main thread eventually steps it (see
// control.h), so a polling loop always ends.
std::uint64_t NowUs();

// Sleeps, as Sleep does on the calling thread: a real sleep, or on the
// virtual clock an advance (main thread) or a wait for the advance (other
// threads). 0 yields.
void SleepUs(std::uint64_t microseconds);

bool VirtualClockEnabled();
// The virtual clock without counting as a poll; callers that only compare
// it against a deadline use this. Valid only while the virtual clock is on.
std::uint64_t PeekVirtualClockUs();
// Moves the virtual clock forward to `target_us` (never back), or by a span.
void AdvanceVirtualClockTo(std::uint64_t target_us);
void AdvanceVirtualClockBy(std::uint64_t microseconds);
// True on the process's initial thread, the one that moves the virtual clock.
bool IsMainThread();

// Wall-clock time in FILETIME units: 100 ns since 1601-01-01 00:00 UTC.
std::uint64_t WallClockTicks();
// Local time minus UTC, in the same units, at the given UTC time.
std::int64_t LocalTimeOffsetTicks(std::uint64_t utc_ticks);

}  // namespace wqplat
