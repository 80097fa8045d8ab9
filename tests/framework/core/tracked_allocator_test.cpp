#include "core/base/tracked_allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "log_capture.h"

namespace {

using wqtest::LogCapture;

const TrackedBlockHeader* HeaderOf(const void* data) { return static_cast<const TrackedBlockHeader*>(data) - 1; }

// The block line of a block, as the log stores it (after the "<ms>:" stamp
// when it starts a line).
std::string BlockLine(const void* data, const std::string& size, const std::string& kb, const std::string& file,
                      const std::string& line, const std::string& shown) {
  // The address column shows the low 32 bits of the data address.
  char addr[32];
  std::snprintf(addr, sizeof(addr), "%08x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(data) & 0xFFFFFFFFu));
  char id[8];
  std::snprintf(id, sizeof(id), "%-5u", static_cast<unsigned>(HeaderOf(data)->id));
  return "\tsize:" + size + "(" + kb + "kb)  file:" + file + "  line:" + line + "  ID:" + id + "  addr:" + addr +
         "  data:<" + shown + "\r\n";
}

TEST(TrackedAllocatorLayoutTest, HeaderKeepsDataSixteenByteAligned) {
  static_assert(sizeof(TrackedBlockHeader) % 16 == 0);
  std::vector<void*> blocks;
  for (std::size_t size : {0u, 1u, 5u, 17u, 100u, 4096u}) {
    void* data = TrackedAlloc(size, "", 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
    blocks.push_back(data);
  }
  for (void* data : blocks) TrackedFree(data);
}

TEST_F(LogCapture, DumpOfAFiveByteBlock) {
  auto* data = static_cast<unsigned char*>(TrackedAlloc(5, "", 0));
  std::memcpy(data, "abc\x01\x02", 5);
  DumpAllocations();
  const std::string expected = "0:\r\n0:Alloc memory dump\r\n0:" +
                               BlockLine(data, "         5", "     0.005", std::string(26, ' '), "0    ",
                                         "abc..> [61 62 63 01 02]") +
                               "0:\tTotal size:5(0.005kb)  Alloc num:1\r\n0:\r\n";
  EXPECT_EQ(LogText(), expected);
  TrackedFree(data);
}

TEST_F(LogCapture, DumpAfterFreeingEverything) {
  void* a = TrackedAlloc(40, "", 0);
  void* b = TrackedAlloc(8, "", 0);
  TrackedFree(a);
  TrackedFree(b);
  DumpAllocations();
  EXPECT_EQ(LogText(), "0:\r\n0:Alloc memory dump\r\n0:\tTotal size:0(0.000kb)  Alloc num:0\r\n0:\r\n");
}

TEST_F(LogCapture, BlockLinesShowNameTailLineAndData) {
  SetTrackedTraceSize(1000);
  const char* longName = "framework/core/archive_reader.cpp";  // tail: "hive_reader.cpp"
  auto* big = static_cast<unsigned char*>(TrackedAlloc(20, longName, 70000));
  for (int i = 0; i < 20; ++i) big[i] = static_cast<unsigned char>(0x7E + i);
  auto* empty = TrackedAlloc(0, "a.cpp", 12);
  SetTrackedTraceSize(0);
  LogAllocationBlock(HeaderOf(big));
  LogAllocationBlock(HeaderOf(empty));
  // 0x7E and 0x7F are shown as they are; 0x80 and above become dots. Only
  // the first 16 bytes appear. The line number is kept in 16 bits.
  const std::string expected =
      "0:" + BlockLine(big, "        20", "     0.020", "hive_reader.cpp           ", "4464 ",
                       "~\x7F..............> [7e 7f 80 81 82 83 84 85 86 87 88 89 8a 8b 8c 8d]") +
      "0:" + BlockLine(empty, "         0", "     0.000", "a.cpp                     ", "12   ", "> ]");
  EXPECT_EQ(LogText(), expected);
  TrackedFree(big);
  TrackedFree(empty);
}

TEST_F(LogCapture, ZeroByteAllocationsAreTracedByDefault) {
  void* data = TrackedAlloc(0, "", 0);
  ASSERT_NE(data, nullptr);
  TrackedFree(data);
  TrackedFree(nullptr);
  const std::string log = LogText();
  EXPECT_EQ(log.rfind("0:mem alloc  \tsize:         0(", 0), 0u) << log;
  EXPECT_NE(log.find("0:mem free  \tsize:         0("), std::string::npos) << log;
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST_F(LogCapture, SwitchesTraceEveryOperationAndLogTotals) {
  SetTrackedTraceAll(1);
  SetTrackedLogTotals(1);
  SetTrackedCheckAll(1);
  void* data = TrackedAlloc(10, "", 0);
  data = TrackedRealloc(data, 2048, "", 0);
  TrackedFree(data);
  SetTrackedTraceAll(0);
  SetTrackedLogTotals(0);
  SetTrackedCheckAll(0);
  const std::string log = LogText();
  const std::size_t alloc = log.find("0:mem alloc  \tsize:        10(");
  const std::size_t realloc = log.find("0:mem realloc  \tsize:      2048(     2.000kb)");
  const std::size_t freed = log.find("0:mem free  \tsize:      2048(");
  ASSERT_NE(alloc, std::string::npos) << log;
  ASSERT_NE(realloc, std::string::npos) << log;
  ASSERT_NE(freed, std::string::npos) << log;
  EXPECT_LT(alloc, realloc);
  EXPECT_LT(realloc, freed);
  EXPECT_NE(log.find("0:\tTotal size:10(0.010kb)  Alloc num:1\r\n"), std::string::npos);
  EXPECT_NE(log.find("0:\tTotal size:2048(2.000kb)  Alloc num:1\r\n"), std::string::npos);
  EXPECT_NE(log.find("0:\tTotal size:0(0.000kb)  Alloc num:0\r\n"), std::string::npos);
}

TEST_F(LogCapture, CheckAllocationFindsADamagedHeader) {
  void* older = TrackedAlloc(16, "", 0);
  void* damaged = TrackedAlloc(24, "", 0);
  void* newer = TrackedAlloc(32, "", 0);
  EXPECT_EQ(CheckAllocation(), 0);

  auto* header = const_cast<TrackedBlockHeader*>(HeaderOf(damaged));
  header->size = 999;
  EXPECT_EQ(CheckAllocation(), -1);
  const std::string log = LogText();
  // The message and the block line share one log line.
  EXPECT_EQ(log.rfind("0:以下のメモリ確保情報が破損しました\tsize:       999(", 0), 0u) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;

  header->size = 24;
  EXPECT_EQ(CheckAllocation(), 0);
  // A stray write just before the data (a buffer underrun) is found too.
  header->check[39] ^= 0xFF;
  EXPECT_EQ(CheckAllocation(), -1);
  header->check[39] ^= 0xFF;

  TrackedFree(older);
  TrackedFree(damaged);
  TrackedFree(newer);
}

TEST_F(LogCapture, ReallocMovesTheBlockKeepsTheListAndZeroesGrowth) {
  auto* first = static_cast<unsigned char*>(TrackedAlloc(8, "", 0));
  auto* middle = static_cast<unsigned char*>(TrackedAlloc(8, "", 0));
  auto* last = static_cast<unsigned char*>(TrackedAlloc(8, "", 0));
  std::memcpy(middle, "12345678", 8);
  auto* grown = static_cast<unsigned char*>(TrackedRealloc(middle, 100000, "", 0));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(std::memcmp(grown, "12345678", 8), 0);
  for (int i = 8; i < 100000; i += 997) ASSERT_EQ(grown[i], 0) << i;
  EXPECT_EQ(GetTrackedBlockCount(), 3);
  EXPECT_EQ(GetTrackedByteTotal(), 100016);
  EXPECT_EQ(CheckAllocation(), 0);

  auto* shrunk = static_cast<unsigned char*>(TrackedRealloc(last, 4, "", 0));
  EXPECT_EQ(GetTrackedByteTotal(), 100012);
  EXPECT_EQ(CheckAllocation(), 0);
  TrackedFree(first);
  TrackedFree(shrunk);
  TrackedFree(grown);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
  EXPECT_EQ(GetTrackedByteTotal(), 0);

  void* fromNull = TrackedRealloc(nullptr, 12, "", 0);
  EXPECT_EQ(GetTrackedByteTotal(), 12);
  TrackedFree(fromNull);
}

TEST_F(LogCapture, FailedReallocKeepsTheBlockAndReleasesTheLock) {
  auto* data = static_cast<unsigned char*>(TrackedAlloc(32, "", 0));
  std::memset(data, 0x5A, 32);
  EXPECT_EQ(TrackedRealloc(data, SIZE_MAX / 2, "", 0), nullptr);
  EXPECT_EQ(data[31], 0x5A);
  EXPECT_EQ(GetTrackedBlockCount(), 1);
  EXPECT_EQ(GetTrackedByteTotal(), 32);
  EXPECT_EQ(CheckAllocation(), 0);
  EXPECT_NE(LogText().find("Alloc memory dump"), std::string::npos);

  // Another thread must get the lock: a lock left held would block it.
  // (<chrono> cannot be included under the Shift-JIS execution charset, so
  // the wait is counted in 1 ms real sleeps.)
  std::atomic<int> allocated{-1};
  std::thread other([&allocated] {
    void* p = TrackedAlloc(8, "", 0);
    TrackedFree(p);
    allocated = p != nullptr ? 1 : 0;
  });
  for (int waited = 0; allocated < 0 && waited < 20000; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (allocated < 0) {
    other.detach();
    FAIL() << "the allocator lock stayed held after the failed realloc";
  }
  other.join();
  EXPECT_EQ(allocated, 1);
  TrackedFree(data);
}

TEST(TrackedAllocatorTest, RefusesSizesTheHeaderCannotRecord) {
  EXPECT_EQ(TrackedAlloc(SIZE_MAX / 2, "", 0), nullptr);
  EXPECT_EQ(TrackedAllocZero(0x100000000ull, "", 0), nullptr);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
  auto* zeroed = static_cast<unsigned char*>(TrackedAllocZero(64, "", 0));
  ASSERT_NE(zeroed, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(zeroed[i], 0);
  TrackedFree(zeroed);
}

TEST(TrackedAllocatorTest, ThreadsAllocatingAtOnceLeaveNothingBehind) {
  constexpr int kThreads = 8;
  constexpr int kOperations = 3000;
  constexpr int kSlots = 16;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      std::mt19937 random(static_cast<unsigned>(t) * 7919u + 1u);
      unsigned char* slots[kSlots] = {};
      std::size_t sizes[kSlots] = {};
      const auto pattern = static_cast<unsigned char>(t + 1);
      for (int op = 0; op < kOperations; ++op) {
        const int slot = static_cast<int>(random() % kSlots);
        const std::size_t size = random() % 300;
        if (slots[slot] != nullptr && (sizes[slot] > 0 && slots[slot][sizes[slot] - 1] != pattern)) ++failures[t];
        switch (random() % 3) {
          case 0:
            TrackedFree(slots[slot]);
            slots[slot] = static_cast<unsigned char*>(TrackedAlloc(size, "stress.cpp", op));
            break;
          case 1:
            slots[slot] = static_cast<unsigned char*>(TrackedRealloc(slots[slot], size, "stress.cpp", op));
            break;
          default:
            TrackedFree(slots[slot]);
            slots[slot] = nullptr;
            continue;
        }
        sizes[slot] = size;
        if (slots[slot] != nullptr) std::memset(slots[slot], pattern, size);
      }
      for (unsigned char* block : slots) TrackedFree(block);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
  EXPECT_EQ(CheckAllocation(), 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
  EXPECT_EQ(GetTrackedByteTotal(), 0);
}

}  // namespace
