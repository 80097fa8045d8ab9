#include <gtest/gtest.h>

#include <thread>

#include "platform/windows.h"

namespace {

TEST(SemaphoreTest, EachWaitTakesOneAndReleaseStopsAtTheMaximum) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 2, 3, nullptr);
  ASSERT_NE(semaphore, nullptr);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);

  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(semaphore, 3, &previous));
  EXPECT_EQ(previous, 0);
  // Past the maximum: refused, and the count stays as it was.
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, &previous));
  EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 0, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
  CloseHandle(semaphore);
}

TEST(SemaphoreTest, CreationRefusesCountsOutsideTheMaximum) {
  struct Counts {
    LONG initial, maximum;
  };
  for (Counts counts : {Counts{0, 0}, Counts{-1, 1}, Counts{2, 1}, Counts{0, -5}}) {
    SCOPED_TRACE(testing::Message() << counts.initial << "/" << counts.maximum);
    EXPECT_EQ(CreateSemaphoreA(nullptr, counts.initial, counts.maximum, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_FALSE(ReleaseSemaphore(CreateEventA(nullptr, TRUE, FALSE, nullptr), 1, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SemaphoreTest, WaitsWithEventsAndWakesOnReleaseFromAnotherThread) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 1, nullptr);
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const HANDLE both[] = {event, semaphore};
  std::thread releaser([&] { ReleaseSemaphore(semaphore, 1, nullptr); });
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 20'000), WAIT_OBJECT_0 + 1);
  releaser.join();
  // Waiting for all takes nothing until every object is signalled.
  ReleaseSemaphore(semaphore, 1, nullptr);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
  CloseHandle(event);
  CloseHandle(semaphore);
}

}  // namespace
