// PeekMessageA, GetMessageA and TranslateMessage.
#include <algorithm>

#include "platform/kernel32.h"
#include "kernel32/system_clock.h"
#include "user32/keyboard_state.h"
#include "user32/thread_queue.h"
#include "user32/window_messages.h"
#include "user32/window_system.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

// The key-down most recently removed from this thread's queue and the text
// typed with it, for TranslateMessage.
struct RetrievedKey {
  MSG msg{};
  std::string typed_text;
};
thread_local RetrievedKey retrieved_key;

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

bool SameMessage(const MSG& a, const MSG& b) {
  return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
         a.lParam == b.lParam && a.time == b.time;
}

bool ValidWindowFilter(HWND window) {
  return window == nullptr || window == reinterpret_cast<HWND>(-1) || IsWindow(window);
}

bool RetrieveMessage(LPMSG msg, const MessageFilter& filter, bool remove) {
  ThreadQueue& queue = *CurrentThreadQueue();
  ReadWindowSystemEvents();
  while (queue.RunOneTask()) {
  }
  if (auto posted = queue.TakePosted(filter, remove)) {
    *msg = posted->msg;
    if (remove && IsKeyDown(msg->message)) retrieved_key = RetrievedKey{*msg, posted->typed_text};
    return true;
  }
  bool thread_messages = filter.window == nullptr || filter.window == reinterpret_cast<HWND>(-1);
  if (thread_messages && filter.AcceptsMessage(WM_QUIT)) {
    if (auto exit_code = queue.TakeQuit(remove)) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*exit_code), 0, GetTickCount(), {}};
      return true;
    }
  }
  if (filter.AcceptsMessage(WM_PAINT)) {
    // WM_PAINT stays until the window is validated, removed or not.
    if (HWND window = FindWindowNeedingPaint(queue.thread_id(), filter.window)) {
      *msg = MSG{window, WM_PAINT, 0, 0, GetTickCount(), {}};
      return true;
    }
  }
  if (auto timer = queue.TakeDueTimer(filter, NowUs(), remove)) {
    *msg = *timer;
    return true;
  }
  return false;
}

// How long GetMessageA waits in real time before looking again: the event
// thread must keep reading the window system; on the virtual clock a wait
// stays short, after which the clock is moved to the next timer.
std::uint64_t WaitSliceUs() {
  if (VirtualClockEnabled()) return 2000;
  return IsEventThread() ? 5000 : 20000;
}

}  // namespace
}  // namespace wqplat

using namespace wqplat;

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  if (!msg || !ValidWindowFilter(window)) return FALSE;
  return RetrieveMessage(msg, MessageFilter{window, filter_min, filter_max}, remove & PM_REMOVE);
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max) {
  if (!msg) return -1;
  MessageFilter filter{window, filter_min, filter_max};
  ThreadQueue& queue = *CurrentThreadQueue();
  for (;;) {
    if (!ValidWindowFilter(window)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return -1;
    }
    std::uint64_t seen = queue.ChangeCount();
    if (RetrieveMessage(msg, filter, true)) return msg->message != WM_QUIT;
    std::uint64_t slice = WaitSliceUs();
    std::optional<std::uint64_t> timer_due = queue.NextTimerDue();
    std::uint64_t now = VirtualClockEnabled() ? PeekVirtualClockUs() : NowUs();
    if (timer_due) slice = std::min(slice, *timer_due > now ? *timer_due - now : 0);
    queue.WaitForChange(seen, slice);
    if (timer_due && VirtualClockEnabled() && IsMainThread() && queue.ChangeCount() == seen) {
      AdvanceVirtualClockTo(*timer_due);
    }
  }
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message < WM_KEYDOWN || msg->message > WM_SYSKEYUP || msg->message == WM_CHAR ||
      msg->message == WM_SYSCHAR) {
    return FALSE;
  }
  if (!IsKeyDown(msg->message)) return TRUE;
  // A key-down from the window system carries what it typed; one made up
  // by the program types what the key types with the modifiers held now.
  std::string characters = SameMessage(retrieved_key.msg, *msg)
                               ? retrieved_key.typed_text
                               : ControlCharacterOfKey(static_cast<BYTE>(msg->wParam));
  // The characters come next, before any later input, as Windows delivers
  // them; pushing to the front in reverse keeps their order.
  UINT char_message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  ThreadQueue& queue = *CurrentThreadQueue();
  for (auto byte = characters.rbegin(); byte != characters.rend(); ++byte) {
    MSG character{msg->hwnd, char_message, static_cast<BYTE>(*byte), msg->lParam, msg->time, msg->pt};
    queue.Post(QueuedMessage{character, {}}, true);
  }
  return TRUE;
}
