#include "kernel32/system_clock.h"

#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "kernel32/wait_state.h"
#include "platform/control.h"

namespace wqplat {
namespace {

constexpr std::uint64_t kVirtualStartUs = 60'000'000;  // one minute of uptime
// 2024-01-01 00:00:00 UTC in 100 ns units since 1601-01-01.
constexpr std::uint64_t kVirtualWallStartTicks = 133'485'408'000'000'000ull;
constexpr std::uint64_t kUnixEpochTicks = 116'444'736'000'000'000ull;
constexpr std::uint32_t kIdleReadsPerStep = 1000;
constexpr std::uint64_t kIdleStepUs = 1000;

struct VirtualClock {
  std::once_flag environment_read;
  std::atomic<bool> enabled{false};
  std::atomic<std::uint64_t> now_us{kVirtualStartUs};
  // Main-thread reads since the clock last moved.
  std::atomic<std::uint32_t> idle_reads{0};
};

VirtualClock& Clock() {
  static VirtualClock clock;
  return clock;
}

// The environment switch is read once, at the first use of any clock, so
// that a later explicit control call wins.
VirtualClock& InitialisedClock() {
  VirtualClock& clock = Clock();
  std::call_once(clock.environment_read, [&clock] {
    const char* value = std::getenv("WQ_VIRTUAL_CLOCK");
    if (value != nullptr && std::strcmp(value, "1") == 0) clock.enabled = true;
  });
  return clock;
}

void ClockMoved(VirtualClock& clock) {
  clock.idle_reads = 0;
  ChangeWaitState([] {});  // wake the threads waiting for this moment
}

std::uint64_t ReadClock(clockid_t id, std::uint64_t unit_ns) {
  timespec now{};
  clock_gettime(id, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * (1'000'000'000ull / unit_ns) +
         static_cast<std::uint64_t>(now.tv_nsec) / unit_ns;
}

}  // namespace

bool VirtualClockEnabled() { return InitialisedClock().enabled; }

std::uint64_t PeekVirtualClockUs() { return Clock().now_us; }

bool IsMainThread() {
  static thread_local const bool main_thread = gettid() == getpid();
  return main_thread;
}

void AdvanceVirtualClockTo(std::uint64_t target_us) {
  VirtualClock& clock = Clock();
  std::uint64_t current = clock.now_us;
  while (current < target_us && !clock.now_us.compare_exchange_weak(current, target_us)) {
  }
  ClockMoved(clock);
}

void AdvanceVirtualClockBy(std::uint64_t microseconds) {
  VirtualClock& clock = Clock();
  clock.now_us += microseconds;
  ClockMoved(clock);
}

std::uint64_t NowUs() {
  VirtualClock& clock = InitialisedClock();
  if (!clock.enabled) return ReadClock(CLOCK_MONOTONIC, 1000);
  if (IsMainThread() && ++clock.idle_reads >= kIdleReadsPerStep) {
    AdvanceVirtualClockBy(kIdleStepUs);
  }
  return clock.now_us;
}

void SleepUs(std::uint64_t microseconds) {
  if (microseconds == 0) {
    sched_yield();
  } else if (!VirtualClockEnabled()) {
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
  } else if (IsMainThread()) {
    AdvanceVirtualClockBy(microseconds);
    sched_yield();
  } else {
    WaitForState([] { return false; }, microseconds);
  }
}

std::uint64_t WallClockTicks() {
  if (!VirtualClockEnabled()) return kUnixEpochTicks + ReadClock(CLOCK_REALTIME, 100);
  return kVirtualWallStartTicks + (PeekVirtualClockUs() - kVirtualStartUs) * 10;
}

std::int64_t LocalTimeOffsetTicks(std::uint64_t utc_ticks) {
  if (VirtualClockEnabled() || utc_ticks < kUnixEpochTicks) return 0;
  time_t seconds = static_cast<time_t>((utc_ticks - kUnixEpochTicks) / 10'000'000);
  tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return 0;
  return static_cast<std::int64_t>(local.tm_gmtoff) * 10'000'000;
}

}  // namespace wqplat

void WqControlEnableVirtualClock(bool enabled) {
  wqplat::InitialisedClock().enabled = enabled;
  wqplat::ChangeWaitState([] {});  // waiters re-read their deadlines' clock
}

void WqControlAdvanceVirtualClock(std::uint64_t microseconds) {
  if (wqplat::VirtualClockEnabled()) {
    wqplat::AdvanceVirtualClockBy(microseconds);
  }
}

std::uint64_t WqControlGetVirtualClockUs() {
  return wqplat::VirtualClockEnabled() ? wqplat::PeekVirtualClockUs() : 0;
}
