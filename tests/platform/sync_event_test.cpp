#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <thread>
#include <vector>

#include "kernel32/wait_functions.h"
#include "kernel32/wait_state.h"
#include "platform/windows.h"
#include "support/wait_until.h"

namespace {

// Events closed when the test ends.
class EventTest : public testing::Test {
 protected:
  HANDLE MakeEvent(bool manual_reset, bool signalled) {
    HANDLE event = CreateEventA(nullptr, manual_reset, signalled, nullptr);
    EXPECT_NE(event, nullptr);
    created_.push_back(event);
    return event;
  }
  void TearDown() override {
    for (HANDLE event : created_) CloseHandle(event);
  }

 private:
  std::vector<HANDLE> created_;
};

TEST_F(EventTest, AutoResetReleasesOneWaitManualResetStays) {
  HANDLE automatic = MakeEvent(false, true);
  HANDLE manual = MakeEvent(true, true);

  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);

  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  ASSERT_TRUE(ResetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  ASSERT_TRUE(SetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
}

TEST_F(EventTest, WaitAnyReportsTheLowestSignalledIndex) {
  HANDLE events[3] = {MakeEvent(false, false), MakeEvent(false, true), MakeEvent(false, true)};
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
  // Only the reported event was consumed.
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);
}

TEST_F(EventTest, WaitAllTakesNothingUntilEveryObjectIsSignalled) {
  HANDLE first = MakeEvent(false, true);
  HANDLE second = MakeEvent(false, false);
  HANDLE both[2] = {first, second};

  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0) << "a failed wait-all consumed it";

  SetEvent(first);
  SetEvent(second);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
}

// The signals below come once the waiting thread is seen blocked, so they
// end a wait in progress rather than find the event set beforehand.
TEST_F(EventTest, SignalFromAnotherThreadEndsAnUnboundedWait) {
  HANDLE event = MakeEvent(false, false);
  const pid_t waiter = wqtest::CurrentThreadId();
  std::atomic<bool> seen_blocked{false};
  std::thread signaller([&] {
    seen_blocked = wqtest::WaitUntil([&] { return wqtest::ThreadIsBlocked(waiter); });
    SetEvent(event);
  });
  EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
  signaller.join();
  EXPECT_TRUE(seen_blocked) << "the wait never blocked";
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT) << "the wait consumed the signal";
}

TEST_F(EventTest, WaitAllSeesEventsSetOneAfterAnother) {
  HANDLE events[2] = {MakeEvent(true, false), MakeEvent(true, false)};
  const pid_t waiter = wqtest::CurrentThreadId();
  std::atomic<bool> seen_blocked{false};
  std::thread signaller([&] {
    SetEvent(events[1]);
    seen_blocked = wqtest::WaitUntil([&] { return wqtest::ThreadIsBlocked(waiter); });
    SetEvent(events[0]);
  });
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0) << "the wait-all ended with one event set";
  signaller.join();
  EXPECT_TRUE(seen_blocked) << "the wait never blocked";
}

TEST_F(EventTest, RefusesBadArguments) {
  HANDLE event = MakeEvent(true, true);
  HANDLE closed = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(closed);
  HANDLE twice[2] = {event, event};
  HANDLE many[MAXIMUM_WAIT_OBJECTS + 1];
  std::fill(std::begin(many), std::end(many), event);

  struct Case {
    const char* what;
    DWORD count;
    const HANDLE* handles;
    BOOL wait_all;
    DWORD error;
  } cases[] = {
      {"closed handle", 1, &closed, FALSE, ERROR_INVALID_HANDLE},
      {"no handles", 0, &event, FALSE, ERROR_INVALID_PARAMETER},
      {"null list", 1, nullptr, FALSE, ERROR_INVALID_PARAMETER},
      {"too many", MAXIMUM_WAIT_OBJECTS + 1, many, FALSE, ERROR_INVALID_PARAMETER},
      {"one object twice in wait-all", 2, twice, TRUE, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles, c.wait_all, 0), WAIT_FAILED) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  EXPECT_FALSE(SetEvent(closed));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  // Naming an object twice is fine for wait-any.
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
}

// How a module waits for its own state (a message queue) with kernel objects.
TEST_F(EventTest, OwnConditionEndsAWaitAfterTheObjects) {
  HANDLE event = MakeEvent(false, false);
  bool posted = false;  // changed only through ChangeWaitState
  auto posted_now = [&] { return posted; };
  EXPECT_EQ(wqplat::WaitForObjects(1, &event, FALSE, 0, posted_now), WAIT_TIMEOUT);

  std::thread poster([&] { wqplat::ChangeWaitState([&] { posted = true; }); });
  EXPECT_EQ(wqplat::WaitForObjects(1, &event, FALSE, INFINITE, posted_now), WAIT_OBJECT_0 + 1);
  poster.join();
  EXPECT_EQ(wqplat::WaitForObjects(0, nullptr, FALSE, INFINITE, posted_now), WAIT_OBJECT_0);

  SetEvent(event);
  EXPECT_EQ(wqplat::WaitForObjects(1, &event, FALSE, 0, posted_now), WAIT_OBJECT_0)
      << "signalled objects come first";
}

}  // namespace
