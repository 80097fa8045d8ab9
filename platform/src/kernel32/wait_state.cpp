#include "kernel32/wait_state.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "kernel32/system_clock.h"

namespace wqplat {
namespace {

// How long the main thread really waits for another thread's signal before
// a virtual time-out is taken as passed.
constexpr std::uint64_t kVirtualMainThreadRealCapUs = 2000;

struct WaitHub {
  std::mutex mutex;
  std::condition_variable changed;
};

WaitHub& Hub() {
  static WaitHub* hub = new WaitHub;  // waits may outlive static destructors
  return *hub;
}

// A timed wait on the virtual clock: ends on `ready`, when the clock passes
// the deadline, or after a real cap. Only the main thread then moves the
// clock to the deadline; other threads merely stop waiting.
bool WaitOnVirtualClock(const std::function<bool()>& ready, std::uint64_t timeout_us) {
  const std::uint64_t deadline_us = PeekVirtualClockUs() + timeout_us;
  const bool main_thread = IsMainThread();
  const std::uint64_t real_cap_us =
      main_thread ? std::min(timeout_us, kVirtualMainThreadRealCapUs) : timeout_us;
  bool satisfied = false;
  {
    WaitHub& hub = Hub();
    std::unique_lock lock(hub.mutex);
    hub.changed.wait_for(lock, std::chrono::microseconds(real_cap_us), [&] {
      satisfied = ready();
      return satisfied || PeekVirtualClockUs() >= deadline_us;
    });
  }
  if (!satisfied && main_thread) AdvanceVirtualClockTo(deadline_us);
  return satisfied;
}

}  // namespace

void WithWaitLock(const std::function<void()>& read) {
  std::lock_guard lock(Hub().mutex);
  read();
}

void ChangeWaitState(const std::function<void()>& change) {
  WithWaitLock(change);
  Hub().changed.notify_all();
}

bool WaitForState(const std::function<bool()>& ready, std::uint64_t timeout_us) {
  const bool virtual_clock = VirtualClockEnabled();
  WaitHub& hub = Hub();
  std::unique_lock lock(hub.mutex);
  if (ready()) return true;
  if (timeout_us == 0) return false;
  if (timeout_us == kWaitForever) {
    hub.changed.wait(lock, ready);
    return true;
  }
  if (virtual_clock) {
    lock.unlock();
    return WaitOnVirtualClock(ready, timeout_us);
  }
  return hub.changed.wait_for(lock, std::chrono::microseconds(timeout_us), ready);
}

}  // namespace wqplat
