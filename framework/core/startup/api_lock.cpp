#include "core/startup/api_lock.h"

#include "platform/windows.h"

namespace {

constexpr DWORD kMaxWaiters = 4096;
constexpr DWORD kNoOwner = static_cast<DWORD>(-1);

struct Waiter {
  DWORD threadId;
  HANDLE event;
};

// Creation states: two threads making their first call at once must not both
// create the lock, and neither may use it half made.
constexpr LONG kNotCreated = 0;
constexpr LONG kCreating = 1;
constexpr LONG kCreated = 2;

struct ApiLock {
  volatile LONG creation = kNotCreated;
  CRITICAL_SECTION section{};
  int recursion = 0;
  int locked = 0;
  DWORD owner = kNoOwner;
  Waiter waiters[kMaxWaiters]{};
  DWORD waiterCount = 0;
};

ApiLock g_lock;

void CreateApiLock() {
  for (Waiter& waiter : g_lock.waiters) {
    waiter.threadId = 0;
    waiter.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  InitializeCriticalSection(&g_lock.section);
  g_lock.owner = kNoOwner;
}

LONG CreationState() { return InterlockedCompareExchange(&g_lock.creation, kNotCreated, kNotCreated); }

void EnsureApiLock() {
  if (InterlockedCompareExchange(&g_lock.creation, kCreating, kNotCreated) == kNotCreated) {
    CreateApiLock();
    InterlockedExchange(&g_lock.creation, kCreated);
    return;
  }
  while (CreationState() != kCreated) Sleep(0);
}

// Removes the head of the queue. Its event moves to the freed last entry so
// that every entry keeps exactly one event.
void DequeueFirstWaiter() {
  const DWORD count = g_lock.waiterCount;
  if (count != 1) {
    const HANDLE headEvent = g_lock.waiters[0].event;
    for (DWORD i = 1; i < count; ++i) g_lock.waiters[i - 1] = g_lock.waiters[i];
    g_lock.waiters[count - 1] = Waiter{0, headEvent};
  }
  g_lock.waiterCount = count - 1;
}

// Called inside the critical section: true when the caller now owns the lock.
bool TryTake(DWORD self) {
  if (g_lock.locked) return g_lock.owner == self;
  if (g_lock.waiterCount == 0 || g_lock.owner == self) return true;
  if (g_lock.waiters[0].threadId == self) {
    DequeueFirstWaiter();
    return true;
  }
  return false;
}

}  // namespace

void LockLibraryCall() {
  EnsureApiLock();
  const DWORD self = GetCurrentThreadId();
  for (;;) {
    EnterCriticalSection(&g_lock.section);
    if (TryTake(self)) break;
    if (g_lock.waiterCount >= kMaxWaiters) {
      LeaveCriticalSection(&g_lock.section);
      Sleep(1);
      continue;
    }
    Waiter& slot = g_lock.waiters[g_lock.waiterCount];
    slot.threadId = self;
    const HANDLE event = slot.event;
    ++g_lock.waiterCount;
    LeaveCriticalSection(&g_lock.section);
    WaitForSingleObject(event, INFINITE);
    ResetEvent(event);
  }
  ++g_lock.recursion;
  g_lock.locked = 1;
  g_lock.owner = self;
  LeaveCriticalSection(&g_lock.section);
}

void UnlockLibraryCall() {
  EnterCriticalSection(&g_lock.section);
  bool wakeWaiter = false;
  if (g_lock.recursion == 1) {
    g_lock.locked = 0;
    g_lock.owner = kNoOwner;
    wakeWaiter = g_lock.waiterCount != 0;
  }
  --g_lock.recursion;
  const HANDLE headEvent = g_lock.waiters[0].event;
  LeaveCriticalSection(&g_lock.section);
  if (wakeWaiter) {
    SetEvent(headEvent);
    Sleep(0);
  }
}

void DestroyApiLock() {
  if (CreationState() != kCreated) return;
  for (Waiter& waiter : g_lock.waiters) {
    CloseHandle(waiter.event);
    waiter = Waiter{};
  }
  DeleteCriticalSection(&g_lock.section);
  g_lock.waiterCount = 0;
  g_lock.recursion = 0;
  g_lock.locked = 0;
  g_lock.owner = kNoOwner;
  InterlockedExchange(&g_lock.creation, kNotCreated);
}

int IsApiLockCreated() { return CreationState() == kCreated; }

int GetApiLockWaiterCount() {
  if (CreationState() != kCreated) return 0;
  EnterCriticalSection(&g_lock.section);
  const int count = static_cast<int>(g_lock.waiterCount);
  LeaveCriticalSection(&g_lock.section);
  return count;
}

int IsApiLockHeldByCurrentThread() {
  if (CreationState() != kCreated) return 0;
  EnterCriticalSection(&g_lock.section);
  const int held = g_lock.locked && g_lock.owner == GetCurrentThreadId();
  LeaveCriticalSection(&g_lock.section);
  return held;
}
