#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/windows.h"

namespace {

bool AllBytesAre(const void* memory, SIZE_T size, BYTE value) {
  const auto* bytes = static_cast<const BYTE*>(memory);
  for (SIZE_T i = 0; i < size; ++i) {
    if (bytes[i] != value) return false;
  }
  return true;
}

TEST(HeapTest, ReAllocWithZeroMemoryZeroFillsOnlyTheGrowth) {
  HANDLE heap = GetProcessHeap();
  auto* block = static_cast<BYTE*>(HeapAlloc(heap, 0, 10));
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xAB, 10);
  EXPECT_EQ(HeapSize(heap, 0, block), 10u);

  // Large enough that the block moves; the old bytes must travel along.
  block = static_cast<BYTE*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 100000));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(HeapSize(heap, 0, block), 100000u);
  EXPECT_TRUE(AllBytesAre(block, 10, 0xAB));
  EXPECT_TRUE(AllBytesAre(block + 10, 100000 - 10, 0));

  block = static_cast<BYTE*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 4));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(HeapSize(heap, 0, block), 4u);
  EXPECT_TRUE(AllBytesAre(block, 4, 0xAB));
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(HeapTest, ZeroMemoryAllocationAndNullFree) {
  HANDLE heap = GetProcessHeap();
  void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 4096);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 4096, 0));
  EXPECT_TRUE(HeapFree(heap, 0, block));
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
  void* empty = HeapAlloc(heap, 0, 0);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(HeapSize(heap, 0, empty), 0u);
  HeapFree(heap, 0, empty);
}

TEST(HeapTest, ImpossibleSizesFailAndLeaveTheOldBlockValid) {
  HANDLE heap = GetProcessHeap();
  EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX - 8), nullptr) << "header arithmetic must not wrap";

  auto* block = static_cast<BYTE*>(HeapAlloc(heap, 0, 8));
  std::memset(block, 0x5A, 8);
  EXPECT_EQ(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, SIZE_MAX - 4), nullptr);
  EXPECT_EQ(HeapSize(heap, 0, block), 8u);
  EXPECT_TRUE(AllBytesAre(block, 8, 0x5A));
  HeapFree(heap, 0, block);

  EXPECT_EQ(HeapAlloc(reinterpret_cast<HANDLE>(0x1234), 0, 8), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(GlobalMemoryTest, MoveableBlockRoundTrip) {
  HGLOBAL handle = GlobalAlloc(GHND, 64);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalSize(handle), 64u);

  auto* data = static_cast<char*>(GlobalLock(handle));
  ASSERT_NE(data, nullptr);
  EXPECT_NE(static_cast<void*>(data), handle);
  EXPECT_TRUE(AllBytesAre(data, 64, 0)) << "GMEM_ZEROINIT";
  std::strcpy(data, "clipboard text");
  EXPECT_EQ(GlobalLock(handle), data) << "a second lock sees the same bytes";
  EXPECT_TRUE(GlobalUnlock(handle)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(handle));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);

  EXPECT_STREQ(static_cast<char*>(GlobalLock(handle)), "clipboard text");
  GlobalUnlock(handle);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemoryTest, FixedBlockIsItsOwnAddress) {
  HGLOBAL handle = GlobalAlloc(GPTR, 16);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalLock(handle), handle);
  EXPECT_EQ(GlobalSize(handle), 16u);
  EXPECT_TRUE(AllBytesAre(handle, 16, 0));
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(VirtualMemoryTest, ReserveCommitDecommitRelease) {
  constexpr SIZE_T kSize = 1 << 20;
  auto* committed = static_cast<BYTE*>(VirtualAlloc(nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(committed, nullptr);
  EXPECT_TRUE(AllBytesAre(committed, kSize, 0));
  committed[kSize - 1] = 1;
  EXPECT_TRUE(VirtualFree(committed, 0, MEM_RELEASE));

  auto* reserved = static_cast<BYTE*>(VirtualAlloc(nullptr, kSize, MEM_RESERVE, PAGE_NOACCESS));
  ASSERT_NE(reserved, nullptr);
  BYTE* page = static_cast<BYTE*>(VirtualAlloc(reserved + 8192, 100, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_EQ(page, reserved + 8192);
  page[99] = 7;
  ASSERT_TRUE(VirtualFree(page, 100, MEM_DECOMMIT));
  ASSERT_EQ(VirtualAlloc(page, 100, MEM_COMMIT, PAGE_READWRITE), page);
  EXPECT_EQ(page[99], 0) << "recommitted pages read as zero";

  EXPECT_EQ(VirtualAlloc(reserved + kSize, 10, MEM_COMMIT, PAGE_READWRITE), nullptr)
      << "outside the reservation";
  EXPECT_EQ(VirtualAlloc(reinterpret_cast<LPVOID>(UINTPTR_MAX - 10), 100, MEM_COMMIT,
                         PAGE_READWRITE),
            nullptr)
      << "a range past the end of the address space";
  EXPECT_FALSE(VirtualFree(reserved + 8192, 0, MEM_RELEASE)) << "not a reservation's base";
  EXPECT_FALSE(VirtualFree(reserved, kSize, MEM_RELEASE)) << "release takes size 0";
  EXPECT_TRUE(VirtualFree(reserved, 0, MEM_RELEASE));
  EXPECT_FALSE(VirtualFree(reserved, 0, MEM_RELEASE)) << "released twice";
}

}  // namespace
