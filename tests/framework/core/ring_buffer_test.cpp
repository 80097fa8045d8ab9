#include "core/base/ring_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/tracked_allocator.h"

namespace {

// A ring of capacity 8 holding "WXYZ" from offset 6, so the bytes wrap:
// W X at 6 and 7, Y Z at 0 and 1.
class WrappedRingTest : public testing::Test {
 protected:
  void SetUp() override {
    ring_.data = static_cast<unsigned char*>(TrackedAlloc(8, "", 0));
    std::memcpy(ring_.data, "YZ....WX", 8);
    ring_.capacity = 8;
    ring_.readOffset = 6;
    ring_.writeOffset = 2;
    ring_.held = 4;
  }
  void TearDown() override {
    RingBufferFree(&ring_);
    EXPECT_EQ(GetTrackedBlockCount(), 0);
  }

  std::string ReadAll() {
    std::string bytes(static_cast<std::size_t>(ring_.held), '\0');
    EXPECT_EQ(RingBufferRead(&ring_, bytes.data(), ring_.held, 0), 0);
    return bytes;
  }

  RingBuffer ring_{};
};

TEST_F(WrappedRingTest, ReadJoinsTheEndAndTheStart) {
  char out[5] = {};
  EXPECT_EQ(RingBufferRead(&ring_, out, 4, 1), 0);
  EXPECT_STREQ(out, "WXYZ");
  EXPECT_EQ(ring_.readOffset, 6u);
  EXPECT_EQ(ring_.held, 4);

  std::memset(out, 0, sizeof(out));
  EXPECT_EQ(RingBufferRead(&ring_, out, 3, 0), 0);
  EXPECT_STREQ(out, "WXY");
  EXPECT_EQ(ring_.readOffset, 1u);
  EXPECT_EQ(ring_.held, 1);
}

TEST_F(WrappedRingTest, ReadingMoreThanHeldChangesNothing) {
  char out[8] = {'q'};
  EXPECT_EQ(RingBufferRead(&ring_, out, 5, 0), -1);
  EXPECT_EQ(out[0], 'q');
  EXPECT_EQ(ring_.readOffset, 6u);
  EXPECT_EQ(ring_.held, 4);
  EXPECT_EQ(RingBufferRead(&ring_, out, -1, 0), -1);
}

TEST_F(WrappedRingTest, GrowingKeepsTheByteOrder) {
  ASSERT_EQ(RingBufferReserve(&ring_, 10), 0);
  EXPECT_EQ(ring_.capacity, 4 * 3 / 2 + 10 + 1000);
  EXPECT_EQ(ring_.readOffset, 0u);
  EXPECT_EQ(ring_.writeOffset, 4u);
  EXPECT_EQ(ReadAll(), "WXYZ");
}

TEST_F(WrappedRingTest, WritingWrapsAtTheCapacity) {
  ASSERT_EQ(RingBufferWrite(&ring_, "abcd", 4), 0);  // exactly fills offsets 2..5
  EXPECT_EQ(ring_.capacity, 8);
  EXPECT_EQ(ring_.writeOffset, 6u);
  EXPECT_EQ(ReadAll(), "WXYZabcd");
}

TEST_F(WrappedRingTest, OffsetsAtTheCapacityFoldToZero) {
  char out[3] = {};
  ASSERT_EQ(RingBufferRead(&ring_, out, 2, 0), 0);
  ring_.readOffset = 8;  // as a writer that stopped exactly at the end leaves it
  WrapRingBufferOffsets(&ring_);
  EXPECT_EQ(ring_.readOffset, 0u);
  EXPECT_EQ(ReadAll(), "YZ");
}

TEST(RingBufferTest, FirstReserveAllocatesTheGrowthMargin) {
  RingBuffer ring{};
  ASSERT_EQ(RingBufferReserve(&ring, 10), 0);
  EXPECT_EQ(ring.capacity, 1010);
  EXPECT_EQ(GetTrackedByteTotal(), 1010);
  EXPECT_EQ(RingBufferReserve(&ring, 1010), 0);
  EXPECT_EQ(ring.capacity, 1010) << "enough room already";
  RingBufferFree(&ring);
  EXPECT_EQ(ring.data, nullptr);
  EXPECT_EQ(ring.capacity, 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(RingBufferTest, StreamsManyWritesAndReadsInOrder) {
  RingBuffer ring{};
  std::string written;
  std::string read;
  for (int i = 0; i < 500; ++i) {
    const std::string chunk(static_cast<std::size_t>(i % 37 + 1), static_cast<char>('a' + i % 26));
    ASSERT_EQ(RingBufferWrite(&ring, chunk.data(), static_cast<int>(chunk.size())), 0);
    written += chunk;
    if (i % 3 == 0) {
      std::string piece(static_cast<std::size_t>(ring.held / 2), '\0');
      ASSERT_EQ(RingBufferRead(&ring, piece.data(), static_cast<int>(piece.size()), 0), 0);
      read += piece;
    }
  }
  std::string rest(static_cast<std::size_t>(ring.held), '\0');
  ASSERT_EQ(RingBufferRead(&ring, rest.data(), ring.held, 0), 0);
  read += rest;
  EXPECT_EQ(read, written);
  RingBufferFree(&ring);
}

TEST(RingBufferTest, ImpossibleGrowthEmptiesTheRing) {
  RingBuffer ring{};
  ASSERT_EQ(RingBufferWrite(&ring, "abc", 3), 0);
  EXPECT_EQ(RingBufferReserve(&ring, 0x7FFFFFFF), -1);
  EXPECT_EQ(ring.data, nullptr);
  EXPECT_EQ(ring.held, 0);
  EXPECT_EQ(ring.capacity, 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

}  // namespace
