// Clocks: microseconds from the best source (time-stamp counter on request,
// else the performance counter, else the millisecond clock), the millisecond
// clock itself and the local date (declared in WqLib.h), and the choice of
// source made at window creation.
#pragma once

#include <cstdint>

#include "WqLib.h"

// Start-up step: reads the performance-counter frequency; the counter times
// from now on when the machine has one. Returns 0.
int ReadPerformanceCounterFrequency();
// Window-creation step: raises the timer resolution, measures whether the
// millisecond clock or the performance counter changes more often and times
// with the better one; logs the result. Returns 0.
int SelectTimeSource();
// 1 when GetTimeUs(0) reads the performance counter.
int IsPerformanceCounterInUse();

// The processor's time-stamp counter (0 where there is none).
std::uint64_t ReadTimeStampCounter();
// Time-stamp cycles over at least 100 ms of the millisecond clock, times 10.
std::uint64_t MeasureCpuCyclesPerSecond();
// Start-up records the measured rate; 0 (the state before start-up and after
// shutdown) keeps GetTimeUs(1) off the time-stamp counter.
void SetCpuCyclesPerSecond(std::uint64_t cyclesPerSecond);
