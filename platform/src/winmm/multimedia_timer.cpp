// winmm's millisecond clock and timer resolution. The layer's clock is
// always precise to the millisecond, so periods are only checked.
#include "platform/kernel32_system.h"
#include "platform/mmsystem.h"

namespace {

constexpr UINT kPeriodMin = 1;
constexpr UINT kPeriodMax = 1'000'000;

MMRESULT CheckPeriod(UINT period) {
  return period >= kPeriodMin && period <= kPeriodMax ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

}  // namespace

DWORD timeGetTime() { return GetTickCount(); }

MMRESULT timeBeginPeriod(UINT period) { return CheckPeriod(period); }

MMRESULT timeEndPeriod(UINT period) { return CheckPeriod(period); }

MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT size) {
  if (caps == nullptr || size < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
  caps->wPeriodMin = kPeriodMin;
  caps->wPeriodMax = kPeriodMax;
  return TIMERR_NOERROR;
}
