// Multimedia timer events: one-shot and periodic callbacks (or events set)
// on winmm's own timer thread, timed by the layer's clock, so they follow
// the virtual clock when it is on.
#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

#include "kernel32/system_clock.h"
#include "kernel32/wait_state.h"
#include "platform/kernel32_system.h"
#include "platform/mmsystem.h"

namespace {

constexpr UINT kDelayMin = 1;
constexpr UINT kDelayMax = 1'000'000;
constexpr UINT kKnownFlags = TIME_PERIODIC | TIME_CALLBACK_EVENT_SET | TIME_KILL_SYNCHRONOUS;

struct TimerEvent {
  UINT id = 0;
  UINT flags = 0;
  std::uint64_t period_us = 0;
  std::uint64_t due_us = 0;
  LPTIMECALLBACK callback = nullptr;
  DWORD_PTR user = 0;
};

// Everything here changes under the layer's wait lock (wait_state.h), so
// the timer thread's wait notices each change.
struct TimerTable {
  std::vector<TimerEvent> events;
  UINT next_id = 1;
  UINT running_id = 0;  // the event whose callback runs now, 0 for none
  std::uint64_t generation = 0;  // moves on every timeSetEvent and timeKillEvent
  bool thread_started = false;
  std::thread::id thread_id;
};

TimerTable& Table() {
  static TimerTable* table = new TimerTable;  // the thread outlives static destructors
  return *table;
}

std::uint64_t ClockUs() {
  return wqplat::VirtualClockEnabled() ? wqplat::PeekVirtualClockUs() : wqplat::NowUs();
}

// Takes the first due event (re-arming a periodic one, removing a one-shot
// one) and marks it running. With the wait lock held.
bool TakeDue(TimerTable& table, TimerEvent& taken) {
  const std::uint64_t now = ClockUs();
  auto due = std::min_element(table.events.begin(), table.events.end(),
                              [](const TimerEvent& a, const TimerEvent& b) { return a.due_us < b.due_us; });
  if (due == table.events.end() || due->due_us > now) return false;
  taken = *due;
  if (due->flags & TIME_PERIODIC) {
    // A late thread skips the missed periods instead of firing in a burst.
    due->due_us = std::max(due->due_us + due->period_us, now);
  } else {
    table.events.erase(due);
  }
  table.running_id = taken.id;
  return true;
}

std::uint64_t TimeToNextUs(const TimerTable& table) {
  if (table.events.empty()) return wqplat::kWaitForever;
  std::uint64_t next = UINT64_MAX;
  for (const TimerEvent& event : table.events) next = std::min(next, event.due_us);
  const std::uint64_t now = ClockUs();
  return next > now ? next - now : 0;
}

void Fire(const TimerEvent& event) {
  if (event.flags & TIME_CALLBACK_EVENT_SET) {
    SetEvent(reinterpret_cast<HANDLE>(event.user));
  } else {
    event.callback(event.id, 0, event.user, 0, 0);
  }
}

[[noreturn]] void TimerThread() {
  TimerTable& table = Table();
  wqplat::ChangeWaitState([&] { table.thread_id = std::this_thread::get_id(); });
  for (;;) {
    std::uint64_t wait_us = 0;
    std::uint64_t generation_seen = 0;
    wqplat::WithWaitLock([&] {
      wait_us = TimeToNextUs(table);
      generation_seen = table.generation;
    });
    // A changed table ends the wait too: it then starts again with the new
    // next time.
    TimerEvent event;
    wqplat::WaitForState([&] { return TakeDue(table, event) || table.generation != generation_seen; },
                         wait_us);
    if (event.id == 0) continue;
    Fire(event);
    wqplat::ChangeWaitState([&] { table.running_id = 0; });
  }
}

}  // namespace

MMRESULT timeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
  if (delay < kDelayMin || delay > kDelayMax || (flags & ~kKnownFlags) != 0) return 0;
  if (!(flags & TIME_CALLBACK_EVENT_SET) && callback == nullptr) return 0;
  TimerTable& table = Table();
  UINT id = 0;
  bool start_thread = false;
  wqplat::ChangeWaitState([&] {
    id = table.next_id++;
    ++table.generation;
    const std::uint64_t period_us = static_cast<std::uint64_t>(delay) * 1000;
    table.events.push_back(TimerEvent{id, flags, period_us, ClockUs() + period_us, callback, user});
    start_thread = !table.thread_started;
    table.thread_started = true;
  });
  if (start_thread) std::thread(TimerThread).detach();
  return id;
}

// Once it returns, the event's callback no longer runs, unless called from
// that callback itself.
MMRESULT timeKillEvent(UINT timer_id) {
  TimerTable& table = Table();
  bool found = false;
  wqplat::ChangeWaitState([&] {
    found = std::erase_if(table.events, [&](const TimerEvent& event) { return event.id == timer_id; }) > 0;
    ++table.generation;
  });
  const bool on_timer_thread = std::this_thread::get_id() == table.thread_id;
  bool running = false;
  wqplat::WithWaitLock([&] { running = table.running_id == timer_id && timer_id != 0; });
  if (running && !on_timer_thread) {
    wqplat::WaitForState([&] { return table.running_id != timer_id; }, wqplat::kWaitForever);
  }
  return found || running ? TIMERR_NOERROR : MMSYSERR_INVALPARAM;
}
