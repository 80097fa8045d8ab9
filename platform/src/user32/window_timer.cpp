// SetTimer and KillTimer: timers belong to the queue of the window's thread
// (or of the calling thread for a timer without a window).
#include <algorithm>

#include "platform/kernel32.h"
#include "kernel32/system_clock.h"
#include "user32/thread_queue.h"
#include "user32/window_table.h"

namespace {

// Windows raises shorter periods to this minimum.
constexpr UINT kMinimumPeriodMs = 10;

std::shared_ptr<wqplat::ThreadQueue> TimerQueue(HWND window) {
  if (!window) return wqplat::CurrentThreadQueue();
  auto record = wqplat::FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return wqplat::QueueOfThread(record->thread_id);
}

}  // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure) {
  auto queue = TimerQueue(window);
  if (!queue) return 0;
  std::uint64_t period_us = std::uint64_t{std::max(elapse_ms, kMinimumPeriodMs)} * 1000;
  UINT_PTR timer_id = queue->SetTimer(window, id, period_us, wqplat::NowUs(), procedure);
  // A window timer with id 0 still reports success.
  return timer_id != 0 ? timer_id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto queue = TimerQueue(window);
  return queue && queue->KillTimer(window, id);
}
