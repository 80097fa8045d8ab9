#include <gtest/gtest.h>

#include <atomic>

#include "platform/windows.h"

namespace {

// A thread function that waits for its go event and returns 42.
DWORD WaitForGoThenReturn42(LPVOID go_event) {
  WaitForSingleObject(static_cast<HANDLE>(go_event), INFINITE);
  return 42;
}

DWORD CountAndExitWith7(LPVOID counter) {
  ++*static_cast<std::atomic<int>*>(counter);
  ExitThread(7);
}

DWORD ReportOwnId(LPVOID id) {
  *static_cast<DWORD*>(id) = GetCurrentThreadId();
  return 0;
}

TEST(ThreadTest, HandleSignalsAndExitCodeAppearWhenTheThreadEnds) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, WaitForGoThenReturn42, go, 0, nullptr);
  ASSERT_NE(thread, nullptr);

  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);

  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  // A finished thread stays signalled.
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  CloseHandle(thread);
  CloseHandle(go);
}

TEST(ThreadTest, SuspendedThreadRunsOnlyAfterResume) {
  std::atomic<int> counter{0};
  HANDLE thread = CreateThread(nullptr, 0, CountAndExitWith7, &counter, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
  EXPECT_EQ(counter, 0);

  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(counter, 1);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 7u) << "ExitThread's code";
  EXPECT_EQ(ResumeThread(thread), 0u);
  CloseHandle(thread);
}

TEST(ThreadTest, IdsAreDistinctAndReportedToTheCreator) {
  DWORD reported = 0;
  DWORD created_id = 0;
  HANDLE thread = CreateThread(nullptr, 0, ReportOwnId, &reported, 0, &created_id);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);

  EXPECT_EQ(reported, created_id);
  EXPECT_NE(created_id, GetCurrentThreadId());
  EXPECT_NE(GetCurrentThreadId(), 0u);
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
}

TEST(ThreadTest, PrioritiesAreKeptPerThread) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, WaitForGoThenReturn42, go, CREATE_SUSPENDED, nullptr);
  EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL));
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_TIME_CRITICAL);

  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_HIGHEST);

  EXPECT_FALSE(SetThreadPriority(thread, 3));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_TIME_CRITICAL);

  SetEvent(go);
  ResumeThread(thread);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(go);
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_ERROR_RETURN) << "closed handle";
}

TEST(ThreadTest, RefusesAMissingStartRoutine) {
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
