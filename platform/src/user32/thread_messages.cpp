// Messages to threads rather than windows: PostThreadMessageA, registered
// message numbers and MsgWaitForMultipleObjects.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "kernel32/system_clock.h"
#include "kernel32/wait_functions.h"
#include "platform/kernel32.h"
#include "user32/thread_queue.h"
#include "user32/window_messages.h"
#include "user32/window_system.h"

using namespace wqplat;

namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;
// The event thread keeps reading the window system while it waits.
constexpr std::uint64_t kEventThreadSliceUs = 5000;

std::uint64_t ClockUs() { return VirtualClockEnabled() ? PeekVirtualClockUs() : NowUs(); }

DWORD CeilMilliseconds(std::uint64_t microseconds) {
  return static_cast<DWORD>(std::min<std::uint64_t>((microseconds + 999) / 1000, INFINITE - 1));
}

}  // namespace

BOOL PostThreadMessageA(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<ThreadQueue> queue = ExistingQueueOfThread(thread_id);
  if (!queue) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  queue->Post(QueuedMessage{MSG{nullptr, message, wparam, lparam, GetTickCount(), cursor}, {}});
  return TRUE;
}

UINT RegisterWindowMessageA(LPCSTR name) {
  if (name == nullptr || *name == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  static std::mutex lock;
  static std::map<std::string, UINT> numbers;
  std::string key(name);
  // ASCII case folding only: lead and trail bytes of code page 932 stay.
  std::transform(key.begin(), key.end(), key.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
  std::lock_guard guard(lock);
  auto [entry, added] = numbers.try_emplace(key, kFirstRegisteredMessage + static_cast<UINT>(numbers.size()));
  if (entry->second > kLastRegisteredMessage) {
    numbers.erase(entry);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  return entry->second;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                                DWORD milliseconds, DWORD wake_mask) {
  ThreadQueue& queue = *CurrentThreadQueue();
  const bool forever = milliseconds == INFINITE;
  const std::uint64_t deadline_us = ClockUs() + static_cast<std::uint64_t>(milliseconds) * 1000;
  for (;;) {
    ReadWindowSystemEvents();
    const std::uint64_t now_us = ClockUs();
    const std::uint64_t remaining_us = forever ? UINT64_MAX : (deadline_us > now_us ? deadline_us - now_us : 0);
    // Slices end where the window system must be read again or a timer
    // falls due, since neither changes the wait state by itself.
    std::uint64_t slice_us = remaining_us;
    if (IsEventThread()) slice_us = std::min(slice_us, kEventThreadSliceUs);
    if (wake_mask & QS_TIMER) {
      if (std::optional<std::uint64_t> due = queue.NextTimerDue()) {
        slice_us = std::min(slice_us, *due > now_us ? *due - now_us : 0);
      }
    }
    const DWORD slice_ms = slice_us == UINT64_MAX ? INFINITE : CeilMilliseconds(slice_us);
    const DWORD result = WaitForObjects(count, handles, wait_all, slice_ms,
                                        [&] { return queue.HasWaiting(wake_mask, ClockUs()); });
    if (result != WAIT_TIMEOUT || slice_us >= remaining_us) return result;
  }
}
