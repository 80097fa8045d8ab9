#include <cstdint>

#include "WqLib.h"
#include "core/window/input_devices.h"
#include "platform/windows.h"

namespace {

constexpr int kAnyInput = 7;  // keyboard, pads and mouse
constexpr std::int64_t kSleepMarginUs = 4000;

}  // namespace

int WaitAnyKey() {
  // Input already down at entry must be released first.
  int pumpResult = 0;
  while ((pumpResult = PumpMessages()) == 0 && CheckAnyInput(kAnyInput) != 0) Sleep(1);
  if (pumpResult != 0) return 0;
  for (;;) {
    const int input = CheckAnyInput(kAnyInput);
    if (input != 0) return input;
    Sleep(1);
    if (PumpMessages() != 0) return 0;
  }
}

int WaitMilliseconds(int ms) {
  // 64-bit: a wait past 2^31 microseconds (about 36 minutes) must not wrap.
  const std::int64_t duration = static_cast<std::int64_t>(ms) * 1000;
  const std::int64_t target = GetTimeUs(0) + duration;
  if (duration > kSleepMarginUs && PumpMessages() == 0) {
    // Sleep in 1 ms steps while more than the margin remains, then spin for
    // the last few milliseconds, which Sleep cannot hit exactly.
    while (GetTimeUs(0) < target - kSleepMarginUs) {
      Sleep(1);
      if (PumpMessages() != 0) break;
    }
  }
  while (GetTimeUs(0) < target) {
  }
  return 0;
}
