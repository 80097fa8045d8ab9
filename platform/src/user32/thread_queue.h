// Per-thread message queues. Any thread may post to a queue; only its own
// thread reads it, runs its tasks and owns its timers.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/user32.h"

namespace wqplat {

// The window and message-range filter of PeekMessageA and GetMessageA.
struct MessageFilter {
  HWND window = nullptr;  // null: any; (HWND)-1: thread messages only
  UINT min = 0;
  UINT max = 0;

  bool AcceptsMessage(UINT message) const;
  bool AcceptsWindow(HWND target) const;
  bool Accepts(const MSG& msg) const { return AcceptsWindow(msg.hwnd) && AcceptsMessage(msg.message); }
};

struct QueuedMessage {
  MSG msg{};
  // For a key-down: the text the window system typed with it (code page
  // 932), which TranslateMessage turns into WM_CHAR.
  std::string typed_text;
};

struct WindowTimer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  std::uint64_t period_us = 0;
  std::uint64_t due_us = 0;
  TIMERPROC procedure = nullptr;
};

class ThreadQueue {
 public:
  explicit ThreadQueue(DWORD thread_id) : thread_id_(thread_id) {}

  DWORD thread_id() const { return thread_id_; }

  // At the front, the message is the next one read (typed characters).
  void Post(QueuedMessage message, bool at_front = false);
  void PostQuit(int exit_code);
  // A piece of work that must run on the queue's thread (window-system
  // events of its windows); it runs when the thread next reads its queue.
  void AddTask(std::function<void()> task);
  // Attaches typed text to the newest unread key-down of the window; false
  // when there is none.
  bool AttachTypedText(HWND window, const std::string& text);
  // Something a reader looks for changed (a window became invalid).
  void Wake();

  // The calls below are for the queue's own thread.
  bool RunOneTask();
  std::optional<QueuedMessage> TakePosted(const MessageFilter& filter, bool remove);
  std::optional<int> TakeQuit(bool remove);
  // Whether something of the kinds in `wake_mask` (QS_ flags) waits:
  // posted messages or WM_QUIT, unread window-system input, due timers.
  bool HasWaiting(DWORD wake_mask, std::uint64_t now_us);
  // A counter that moves whenever the queue changes; WaitForChange returns
  // once it differs from `seen` or after `max_wait_us` of real time.
  std::uint64_t ChangeCount();
  void WaitForChange(std::uint64_t seen, std::uint64_t max_wait_us);

  UINT_PTR SetTimer(HWND window, UINT_PTR id, std::uint64_t period_us, std::uint64_t now_us,
                    TIMERPROC procedure);
  bool KillTimer(HWND window, UINT_PTR id);
  void KillWindowTimers(HWND window);
  // The first due timer the filter accepts, as a WM_TIMER message; a taken
  // timer is due again one period from now.
  std::optional<MSG> TakeDueTimer(const MessageFilter& filter, std::uint64_t now_us, bool remove);
  std::optional<std::uint64_t> NextTimerDue();

 private:
  void NoteChange();  // with mutex_ held

  const DWORD thread_id_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t change_count_ = 0;
  std::deque<QueuedMessage> posted_;
  std::deque<std::function<void()>> tasks_;
  bool quit_posted_ = false;
  int quit_code_ = 0;
  std::vector<WindowTimer> timers_;
  UINT_PTR next_thread_timer_id_ = 1;
};

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD thread_id);
// Null when the thread never made a queue (never called a message function).
std::shared_ptr<ThreadQueue> ExistingQueueOfThread(DWORD thread_id);
std::shared_ptr<ThreadQueue> CurrentThreadQueue();

}  // namespace wqplat
