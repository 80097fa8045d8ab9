// Threads: each runs on a std::thread of its own; its handle is a waitable
// object that becomes signalled when the thread function returns.
#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "kernel32/system_clock.h"
#include "kernel32/wait_state.h"
#include "kernel32/waitable_object.h"
#include "platform/kernel32_system.h"

namespace {

const HANDLE kCurrentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));

// Thread ids are multiples of 4 and never 0 or 0xFFFFFFFF, values that
// callers use to mean "no thread".
DWORD NextThreadId() {
  static std::atomic<DWORD> next{4};
  return next.fetch_add(4);
}

class Thread : public wqplat::WaitableObject {
 public:
  explicit Thread(DWORD suspend_count) : id_(NextThreadId()), suspend_count_(suspend_count) {}

  DWORD id() const { return id_; }
  std::atomic<int>& priority() { return priority_; }

  bool IsSignalled() const override { return finished_; }
  // Both under the wait lock.
  DWORD ExitCode() const { return finished_ ? exit_code_ : STILL_ACTIVE; }
  void Finish(DWORD exit_code) {
    exit_code_ = exit_code;
    finished_ = true;
  }

  DWORD Resume() {
    std::lock_guard lock(gate_mutex_);
    const DWORD previous = suspend_count_;
    if (suspend_count_ > 0 && --suspend_count_ == 0) gate_.notify_all();
    return previous;
  }
  void WaitUntilResumed() {
    std::unique_lock lock(gate_mutex_);
    gate_.wait(lock, [this] { return suspend_count_ == 0; });
  }

 private:
  const DWORD id_;
  std::atomic<int> priority_{THREAD_PRIORITY_NORMAL};
  bool finished_ = false;
  DWORD exit_code_ = 0;
  std::mutex gate_mutex_;
  std::condition_variable gate_;
  DWORD suspend_count_;
};

// The calling thread's object; threads the layer did not start (the main
// thread among them) get one on first use, never signalled.
thread_local std::shared_ptr<Thread> current_thread;
thread_local bool started_by_create_thread = false;

Thread& CurrentThread() {
  if (!current_thread) current_thread = std::make_shared<Thread>(0);
  return *current_thread;
}

// Thrown by ExitThread and caught where the thread began, so that the
// thread's objects are destroyed on the way out.
struct ThreadExit {
  DWORD exit_code;
};

void RunThread(std::shared_ptr<Thread> thread, LPTHREAD_START_ROUTINE start, LPVOID parameter) {
  current_thread = thread;
  started_by_create_thread = true;
  thread->WaitUntilResumed();
  DWORD exit_code;
  try {
    exit_code = start(parameter);
  } catch (const ThreadExit& exit) {
    exit_code = exit.exit_code;
  }
  wqplat::ChangeWaitState([&] { thread->Finish(exit_code); });
}

std::shared_ptr<Thread> ResolveThread(HANDLE handle) {
  if (handle == kCurrentThreadPseudoHandle) {
    CurrentThread();
    return current_thread;
  }
  auto thread = wqplat::LookupKernelObjectAs<Thread>(handle);
  if (!thread) SetLastError(ERROR_INVALID_HANDLE);
  return thread;
}

bool IsValidPriority(int priority) {
  switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The stack size is left to the system: Linux stacks are larger than any
// size a program written for Windows asks for.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creation_flags, LPDWORD thread_id) {
  if (start == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<Thread>((creation_flags & CREATE_SUSPENDED) != 0 ? 1 : 0);
  HANDLE handle = wqplat::RegisterKernelObject(thread);
  try {
    std::thread(RunThread, thread, start, parameter).detach();
  } catch (const std::system_error&) {
    wqplat::UnregisterKernelObject(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (thread_id != nullptr) *thread_id = thread->id();
  return handle;
}

DWORD ResumeThread(HANDLE handle) {
  auto thread = wqplat::LookupKernelObjectAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  return thread->Resume();
}

void ExitThread(DWORD exit_code) {
  if (started_by_create_thread) throw ThreadExit{exit_code};
  pthread_exit(nullptr);
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exit_code) {
  auto thread = ResolveThread(handle);
  if (!thread || exit_code == nullptr) {
    if (thread) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  wqplat::WithWaitLock([&] { *exit_code = thread->ExitCode(); });
  return TRUE;
}

DWORD GetCurrentThreadId() { return CurrentThread().id(); }

HANDLE GetCurrentThread() { return kCurrentThreadPseudoHandle; }

// Priorities are recorded and reported back; Linux does not let an
// ordinary process raise them, and the layer's timing does not need it.
BOOL SetThreadPriority(HANDLE handle, int priority) {
  auto thread = ResolveThread(handle);
  if (!thread) return FALSE;
  if (!IsValidPriority(priority)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  thread->priority() = priority;
  return TRUE;
}

int GetThreadPriority(HANDLE handle) {
  auto thread = ResolveThread(handle);
  return thread ? thread->priority().load() : THREAD_PRIORITY_ERROR_RETURN;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == INFINITE) {
    wqplat::WaitForState([] { return false; }, wqplat::kWaitForever);
  }
  wqplat::SleepUs(static_cast<std::uint64_t>(milliseconds) * 1000);
}
