// Waiting in tests for what they test: a condition polled until it holds,
// with a deadline so that a fault fails the test instead of hanging it. The
// deadline is generous for a loaded machine; a passing test waits only as
// long as its condition takes.
#pragma once

#include <sys/types.h>

#include <thread>

namespace wqtest {

inline constexpr std::chrono::milliseconds kWaitDeadline{20'000};

// Polls `condition` in real time (never on the virtual clock) until it
// holds; false when the deadline passed first.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds deadline = kWaitDeadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

// The calling thread's kernel id, for ThreadIsBlocked.
pid_t CurrentThreadId();

// Whether a thread of this process is asleep in the kernel (blocked in a
// wait) rather than running: how a test sees that another thread has
// entered the wait it is about to end.
bool ThreadIsBlocked(pid_t thread);

}  // namespace wqtest
