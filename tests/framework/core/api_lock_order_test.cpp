#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "core/startup/api_lock.h"
#include "platform/windows.h"
#include "support/wait_until.h"

namespace {

// Waits (in real time) until n threads are queued on the lock.
void WaitForWaiters(int n) {
  ASSERT_TRUE(wqtest::WaitUntil([n] { return GetApiLockWaiterCount() >= n; })) << "threads never queued";
}

TEST(ApiLockTest, IsRecursiveAndReleasedOnlyAtTheOutermostUnlock) {
  LockLibraryCall();
  LockLibraryCall();
  HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    LockLibraryCall();
    SetEvent(taken);
    UnlockLibraryCall();
  });
  WaitForWaiters(1);
  UnlockLibraryCall();
  EXPECT_EQ(WaitForSingleObject(taken, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(GetApiLockWaiterCount(), 1);
  UnlockLibraryCall();
  EXPECT_EQ(WaitForSingleObject(taken, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  other.join();
  CloseHandle(taken);
  DestroyApiLock();
  EXPECT_FALSE(IsApiLockCreated());
}

// Two threads queue while the lock is held; the holder then releases and
// asks again at once. Arrival order wins: the holder is served last.
TEST(ApiLockTest, ServesWaitersInArrivalOrderAndLetsNoNewcomerOvertake) {
  std::mutex orderLock;
  std::vector<int> order;
  auto record = [&](int id) {
    std::lock_guard guard(orderLock);
    order.push_back(id);
  };
  LockLibraryCall();
  std::thread first([&] {
    LockLibraryCall();
    record(1);
    UnlockLibraryCall();
  });
  WaitForWaiters(1);
  std::thread second([&] {
    LockLibraryCall();
    record(2);
    UnlockLibraryCall();
  });
  WaitForWaiters(2);

  UnlockLibraryCall();
  LockLibraryCall();
  record(3);
  UnlockLibraryCall();
  first.join();
  second.join();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  DestroyApiLock();
}

}  // namespace

// Threads whose very first call comes at the same moment share one lock:
// none may create it a second time or use it half made.
TEST(ApiLockTest, FirstCallsFromManyThreadsAtOnceShareOneLock) {
  ASSERT_FALSE(IsApiLockCreated());
  HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int insideTogether = 0;
  int entries = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 16; ++i) {
    threads.emplace_back([&] {
      WaitForSingleObject(start, INFINITE);
      for (int round = 0; round < 50; ++round) {
        LockLibraryCall();
        // Unsynchronised on purpose: only the lock keeps these exact.
        if (++insideTogether != 1) insideTogether = 100;
        ++entries;
        --insideTogether;
        UnlockLibraryCall();
      }
    });
  }
  SetEvent(start);
  for (std::thread& thread : threads) thread.join();
  CloseHandle(start);
  EXPECT_EQ(entries, 16 * 50);
  EXPECT_EQ(insideTogether, 0);
  EXPECT_EQ(GetApiLockWaiterCount(), 0);
  DestroyApiLock();
}
