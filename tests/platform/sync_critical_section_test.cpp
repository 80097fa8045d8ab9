#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/windows.h"

namespace {

class CriticalSectionTest : public testing::Test {
 protected:
  void SetUp() override { InitializeCriticalSection(&section_); }
  void TearDown() override { DeleteCriticalSection(&section_); }

  // Whether another thread could take the section right now.
  bool OtherThreadCanEnter() {
    bool entered = false;
    std::thread([&] {
      entered = TryEnterCriticalSection(&section_) != FALSE;
      if (entered) LeaveCriticalSection(&section_);
    }).join();
    return entered;
  }

  CRITICAL_SECTION section_;
};

TEST_F(CriticalSectionTest, IsRecursiveAndReleasedOnlyByTheLastLeave) {
  EnterCriticalSection(&section_);
  EXPECT_TRUE(TryEnterCriticalSection(&section_));
  EnterCriticalSection(&section_);
  EXPECT_FALSE(OtherThreadCanEnter());

  LeaveCriticalSection(&section_);
  LeaveCriticalSection(&section_);
  EXPECT_FALSE(OtherThreadCanEnter());

  LeaveCriticalSection(&section_);
  EXPECT_TRUE(OtherThreadCanEnter());
}

TEST_F(CriticalSectionTest, ExcludesOtherThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 20000;
  long counter = 0;  // deliberately not atomic: only the section guards it
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        EnterCriticalSection(&section_);
        const long seen = counter;
        std::this_thread::yield();
        counter = seen + 1;
        LeaveCriticalSection(&section_);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, kThreads * kRounds);
}

}  // namespace
