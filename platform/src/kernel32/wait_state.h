// One lock and one condition variable behind every wait of the layer: the
// state of each waitable object (events, threads, message queues) changes
// under the lock, and every change, as every advance of the virtual clock,
// wakes all waiters to look again. Simple, and a wait for several objects
// at once needs no further machinery.
#pragma once

#include <cstdint>
#include <functional>

namespace wqplat {

inline constexpr std::uint64_t kWaitForever = UINT64_MAX;

// Runs `read` under the wait lock.
void WithWaitLock(const std::function<void()>& read);
// Runs `change` under the wait lock, then wakes every waiter.
void ChangeWaitState(const std::function<void()>& change);

// Waits until `ready` (called under the wait lock; it may consume what it
// found, as an auto-reset event does) returns true, or the time-out passes.
// Time-outs follow the virtual clock when it is on (see control.h). True
// when `ready` was satisfied.
bool WaitForState(const std::function<bool()>& ready, std::uint64_t timeout_us);

}  // namespace wqplat
