// Frame pacing: DirectDraw 7's vertical-blank wait, the measured refresh
// period, and the switch that turns waiting off.
#pragma once

#include <cstdint>

int CreateDirectDraw7();
// Sleeps until shortly before the next blank is due, then blocks in
// DirectDraw until it comes. Nothing without DirectDraw.
int WaitVerticalBlank();
int MeasureRefreshPeriod();
// -1 until measured.
std::int64_t GetRefreshPeriodUs();
// 1 while presents wait for the blank.
int IsVSyncWaitOn();
// The default that the draw-state reset applies again.
void ApplyDefaultWaitVSync();
