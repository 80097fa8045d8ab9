#include <gtest/gtest.h>

#include <string>

#include "core/files/stream_memory.h"
#include "support/temp_dir.h"
#include "core/base/tracked_allocator.h"

namespace {

class MemoryStreamTest : public testing::Test {
 protected:
  void SetUp() override { stream_ = OpenMemoryStream(kBytes, 10); }
  void TearDown() override {
    CloseMemoryStream(stream_);
    EXPECT_EQ(GetTrackedBlockCount(), 0);
  }

  static constexpr char kBytes[] = "0123456789";
  StreamHandle stream_ = 0;
};

TEST_F(MemoryStreamTest, AShortFinalItemCountsAsOneItem) {
  char out[12] = {};
  EXPECT_EQ(MemoryStreamRead(out, 4, 3, stream_), 2);
  EXPECT_EQ(std::string(out), "01234567");
  EXPECT_EQ(MemoryStreamTell(stream_), 8);
  char last[4] = {};
  EXPECT_EQ(MemoryStreamRead(last, 4, 3, stream_), 1);
  EXPECT_EQ(std::string(last), "89");
  EXPECT_EQ(MemoryStreamEof(stream_), 0);
  EXPECT_EQ(MemoryStreamRead(out, 4, 3, stream_), 0);
  EXPECT_EQ(MemoryStreamEof(stream_), 1);
}

TEST_F(MemoryStreamTest, SeeksClampAndClearTheEndFlag) {
  MemoryStreamSeek(stream_, -5, 0);
  EXPECT_EQ(MemoryStreamTell(stream_), 0);
  MemoryStreamSeek(stream_, 1, 2);
  EXPECT_EQ(MemoryStreamTell(stream_), 10);
  EXPECT_EQ(MemoryStreamEof(stream_), 0) << "only a read finds the end";
  char out[4];
  EXPECT_EQ(MemoryStreamRead(out, 1, 4, stream_), 0);
  EXPECT_EQ(MemoryStreamEof(stream_), 1);
  MemoryStreamSeek(stream_, -3, 1);
  EXPECT_EQ(MemoryStreamTell(stream_), 7);
  EXPECT_EQ(MemoryStreamEof(stream_), 0);
  EXPECT_EQ(MemoryStreamIdleCheck(stream_), 1);
}

TEST_F(MemoryStreamTest, ZeroItemsWriteNothing) {
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(MemoryStreamRead(out, 4, 0, stream_), 0);
  EXPECT_EQ(MemoryStreamRead(out, 0, 4, stream_), 0);
  EXPECT_EQ(std::string(out, 4), "xxxx");
  EXPECT_EQ(MemoryStreamTell(stream_), 0);
}

// A reader given a StreamSource sees the same bytes from a file as from
// memory.
std::string ReadAllThrough(const StreamSource& source) {
  std::string text;
  char chunk[3];
  std::int64_t items;
  while ((items = source.functions.read(chunk, 1, sizeof(chunk), source.handle)) > 0) text.append(chunk, items);
  EXPECT_NE(source.functions.eof(source.handle), 0);
  return text;
}

TEST(StreamSourceTest, FileAndMemoryStreamsReadAlike) {
  wqtest::TempDir dir;
  const std::string bytes = "stream source bytes, read in chunks";
  dir.WriteFile("S.BIN", bytes);
  StreamSource file{*GetFileStreamFunctions(), FileAccessOpen((dir.WindowsPath() + "\\S.BIN").c_str(), 0, 1, 0)};
  ASSERT_NE(file.handle, 0u);
  StreamSource memory{*GetMemoryStreamFunctions(), OpenMemoryStream(bytes.data(), static_cast<LONG>(bytes.size()))};
  EXPECT_EQ(ReadAllThrough(file), bytes);
  EXPECT_EQ(ReadAllThrough(memory), bytes);
  file.functions.close(file.handle);
  memory.functions.close(memory.handle);
}

}  // namespace
