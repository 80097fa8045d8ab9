// winmm: the multimedia timer services.
#pragma once

#include "platform/wintypes.h"

using MMRESULT = UINT;

#define TIMERR_NOERROR 0u
#define TIMERR_NOCANDO 97u

struct TIMECAPS {
  UINT wPeriodMin;
  UINT wPeriodMax;
};
using LPTIMECAPS = TIMECAPS*;

// Milliseconds since the system started, wrapping at 2^32; the same clock
// as GetTickCount.
DWORD timeGetTime();
// Periods from 1 ms up are accepted; the clock is always that precise.
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT size);
