#include "user32/thread_queue.h"

#include <algorithm>
#include <map>

#include "kernel32/wait_state.h"
#include "platform/kernel32.h"

namespace wqplat {

bool MessageFilter::AcceptsMessage(UINT message) const {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool MessageFilter::AcceptsWindow(HWND target) const {
  if (window == nullptr) return true;
  if (window == reinterpret_cast<HWND>(-1)) return target == nullptr;
  return target == window;
}

void ThreadQueue::NoteChange() {
  ++change_count_;
  changed_.notify_all();
}

namespace {

// Kernel waits that also watch a queue (MsgWaitForMultipleObjects) look
// again; called without the queue's lock, since those waits take it under
// the wait lock.
void WakeKernelWaits() {
  ChangeWaitState([] {});
}

}  // namespace

void ThreadQueue::Post(QueuedMessage message, bool at_front) {
  {
    std::lock_guard lock(mutex_);
    if (at_front) {
      posted_.push_front(std::move(message));
    } else {
      posted_.push_back(std::move(message));
    }
    NoteChange();
  }
  WakeKernelWaits();
}

void ThreadQueue::PostQuit(int exit_code) {
  {
    std::lock_guard lock(mutex_);
    quit_posted_ = true;
    quit_code_ = exit_code;
    NoteChange();
  }
  WakeKernelWaits();
}

void ThreadQueue::AddTask(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    NoteChange();
  }
  WakeKernelWaits();
}

bool ThreadQueue::AttachTypedText(HWND window, const std::string& text) {
  std::lock_guard lock(mutex_);
  auto key_down = std::find_if(posted_.rbegin(), posted_.rend(), [&](const QueuedMessage& queued) {
    return queued.msg.hwnd == window &&
           (queued.msg.message == WM_KEYDOWN || queued.msg.message == WM_SYSKEYDOWN);
  });
  if (key_down == posted_.rend()) return false;
  key_down->typed_text += text;
  return true;
}

void ThreadQueue::Wake() {
  std::lock_guard lock(mutex_);
  NoteChange();
}

bool ThreadQueue::RunOneTask() {
  std::function<void()> task;
  {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

std::optional<QueuedMessage> ThreadQueue::TakePosted(const MessageFilter& filter, bool remove) {
  std::lock_guard lock(mutex_);
  auto found = std::find_if(posted_.begin(), posted_.end(),
                            [&](const QueuedMessage& queued) { return filter.Accepts(queued.msg); });
  if (found == posted_.end()) return std::nullopt;
  QueuedMessage message = *found;
  if (remove) posted_.erase(found);
  return message;
}

bool ThreadQueue::HasWaiting(DWORD wake_mask, std::uint64_t now_us) {
  std::lock_guard lock(mutex_);
  if ((wake_mask & QS_POSTMESSAGE) && (!posted_.empty() || quit_posted_)) return true;
  if ((wake_mask & QS_INPUT) && !tasks_.empty()) return true;
  return (wake_mask & QS_TIMER) &&
         std::any_of(timers_.begin(), timers_.end(),
                     [&](const WindowTimer& timer) { return timer.due_us <= now_us; });
}

std::optional<int> ThreadQueue::TakeQuit(bool remove) {
  std::lock_guard lock(mutex_);
  if (!quit_posted_) return std::nullopt;
  if (remove) quit_posted_ = false;
  return quit_code_;
}

std::uint64_t ThreadQueue::ChangeCount() {
  std::lock_guard lock(mutex_);
  return change_count_;
}

void ThreadQueue::WaitForChange(std::uint64_t seen, std::uint64_t max_wait_us) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, std::chrono::microseconds(max_wait_us),
                    [&] { return change_count_ != seen; });
}

UINT_PTR ThreadQueue::SetTimer(HWND window, UINT_PTR id, std::uint64_t period_us,
                               std::uint64_t now_us, TIMERPROC procedure) {
  std::lock_guard lock(mutex_);
  if (window == nullptr) {
    // A thread timer gets an id of its own; the id argument is ignored.
    id = next_thread_timer_id_++;
  }
  std::erase_if(timers_, [&](const WindowTimer& timer) { return timer.window == window && timer.id == id; });
  timers_.push_back(WindowTimer{window, id, period_us, now_us + period_us, procedure});
  NoteChange();
  return id;
}

bool ThreadQueue::KillTimer(HWND window, UINT_PTR id) {
  std::lock_guard lock(mutex_);
  return std::erase_if(timers_, [&](const WindowTimer& timer) {
           return timer.window == window && timer.id == id;
         }) > 0;
}

void ThreadQueue::KillWindowTimers(HWND window) {
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [&](const WindowTimer& timer) { return timer.window == window; });
}

std::optional<MSG> ThreadQueue::TakeDueTimer(const MessageFilter& filter, std::uint64_t now_us,
                                             bool remove) {
  std::lock_guard lock(mutex_);
  if (!filter.AcceptsMessage(WM_TIMER)) return std::nullopt;
  for (WindowTimer& timer : timers_) {
    if (timer.due_us > now_us || !filter.AcceptsWindow(timer.window)) continue;
    if (remove) timer.due_us = now_us + timer.period_us;
    MSG msg{};
    msg.hwnd = timer.window;
    msg.message = WM_TIMER;
    msg.wParam = timer.id;
    msg.lParam = reinterpret_cast<LPARAM>(timer.procedure);
    msg.time = GetTickCount();
    return msg;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ThreadQueue::NextTimerDue() {
  std::lock_guard lock(mutex_);
  if (timers_.empty()) return std::nullopt;
  return std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
           return a.due_us < b.due_us;
         })->due_us;
}

namespace {

std::mutex& QueueRegistryLock() {
  static std::mutex lock;
  return lock;
}

std::map<DWORD, std::shared_ptr<ThreadQueue>>& QueueRegistry() {
  static std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
  return queues;
}

}  // namespace

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD thread_id) {
  std::lock_guard lock(QueueRegistryLock());
  auto& queue = QueueRegistry()[thread_id];
  if (!queue) queue = std::make_shared<ThreadQueue>(thread_id);
  return queue;
}

std::shared_ptr<ThreadQueue> ExistingQueueOfThread(DWORD thread_id) {
  std::lock_guard lock(QueueRegistryLock());
  auto found = QueueRegistry().find(thread_id);
  return found == QueueRegistry().end() ? nullptr : found->second;
}

std::shared_ptr<ThreadQueue> CurrentThreadQueue() {
  thread_local std::shared_ptr<ThreadQueue> queue = QueueOfThread(GetCurrentThreadId());
  return queue;
}

}  // namespace wqplat
