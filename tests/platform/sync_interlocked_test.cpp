#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/windows.h"

namespace {

TEST(InterlockedTest, ReturnsTheDocumentedValues) {
  volatile LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 9);
  EXPECT_EQ(value, 12);
  // Compare-exchange returns what it found, replacing only on a match.
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 7), 12);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 12), 12);
  EXPECT_EQ(value, 1);
}

TEST(InterlockedTest, CountsExactlyUnderContention) {
  volatile LONG counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 50000; ++i) {
        InterlockedIncrement(&counter);
        InterlockedExchangeAdd(&counter, 2);
        InterlockedDecrement(&counter);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, 4 * 50000 * 2);
}

}  // namespace
