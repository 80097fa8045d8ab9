#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "core/files/archive_reader.h"
#include "core/files/file_access_table.h"
#include "log_capture.h"
#include "core/files/plain_file.h"
#include "core/files/plain_file_thread.h"
#include "platform/kernel32.h"
#include "core/base/tracked_allocator.h"
#include "support/wait_until.h"

namespace {

struct OpenMode {
  const char* what;
  int cache;
  int asynchronous;
};

void PrintTo(const OpenMode& mode, std::ostream* out) { *out << mode.what; }

// Direct files, files with a reader thread and its cache, and asynchronous
// files (a reader thread without cache).
const OpenMode kModes[] = {{"Direct", 0, 0}, {"Cached", 1, 0}, {"Asynchronous", 0, 1}};

class PlainFileTest : public testing::TestWithParam<OpenMode> {
 protected:
  void SetUp() override {
    for (int i = 0; i < 100; ++i) bytes_ += static_cast<char>('A' + i % 26);
    dir_.WriteFile("P.BIN", bytes_);
  }
  PlainFile* Open() {
    return PlainFileOpen((dir_.WindowsPath() + "\\P.BIN").c_str(), GetParam().cache, 1, GetParam().asynchronous);
  }
  static std::size_t Read(PlainFile* file, void* destination, std::size_t itemSize, std::size_t count) {
    const std::size_t items = PlainFileRead(destination, itemSize, count, file);
    while (PlainFileIdleCheck(file) == 0) Sleep(0);
    return items;
  }

  wqtest::TempDir dir_;
  std::string bytes_;
};

TEST_P(PlainFileTest, AShortLastItemIsNotDelivered) {
  PlainFile* file = Open();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->size, 100u);
  ASSERT_EQ(PlainFileSeek(file, -10, 2), 0);
  char out[12] = {};
  EXPECT_EQ(Read(file, out, 4, 3), 2u);
  EXPECT_EQ(std::string(out, 8), bytes_.substr(90, 8));
  EXPECT_EQ(PlainFileTell(file), 98);
  EXPECT_EQ(PlainFileEof(file), 0);
  char untouched[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(Read(file, untouched, 4, 1), 0u);
  EXPECT_EQ(std::string(untouched, 4), "xxxx");
  EXPECT_EQ(PlainFileEof(file), -1) << "all bits set, not 1";
  EXPECT_EQ(PlainFileClose(file), 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST_P(PlainFileTest, AReadPastTheEndAfterASeekReadsNothing) {
  PlainFile* file = Open();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(PlainFileSeek(file, 50, 2), 0) << "seeks are not clamped";
  EXPECT_EQ(PlainFileTell(file), 150);
  char out[4];
  EXPECT_EQ(Read(file, out, 1, 4), 0u);
  EXPECT_EQ(PlainFileEof(file), -1);
  EXPECT_EQ(PlainFileSeek(file, 3, 0), 0);
  EXPECT_EQ(PlainFileEof(file), 0);
  EXPECT_EQ(Read(file, out, 2, 2), 2u);
  EXPECT_EQ(std::string(out, 4), bytes_.substr(3, 4));
  PlainFileClose(file);
}

// An asynchronous read reports its items before it delivers them, so only
// the synchronous modes can tell how many arrived.
class SynchronousPlainFileTest : public PlainFileTest {};

TEST_P(SynchronousPlainFileTest, AReadDeliveringLessAdvancesByWholeItemsDelivered) {
  PlainFile* file = Open();
  ASSERT_NE(file, nullptr);
  // The file shrinks after its size was measured at open.
  std::filesystem::resize_file(dir_.path() / "P.BIN", 30);
  std::vector<char> out(100);
  EXPECT_EQ(Read(file, out.data(), 4, 25), 7u) << "30 bytes delivered: 7 whole items";
  EXPECT_EQ(PlainFileTell(file), 28);
  EXPECT_EQ(Read(file, out.data(), 1, 2), 2u);
  EXPECT_EQ(std::string(out.data(), 2), bytes_.substr(28, 2));
  PlainFileClose(file);
}

std::string ModeName(const testing::TestParamInfo<OpenMode>& info) { return info.param.what; }

INSTANTIATE_TEST_SUITE_P(Modes, PlainFileTest, testing::ValuesIn(kModes), ModeName);
INSTANTIATE_TEST_SUITE_P(Modes, SynchronousPlainFileTest, testing::Values(kModes[0], kModes[1]), ModeName);

TEST(PlainFileOpenTest, AMissingFileOpensNothing) {
  wqtest::TempDir dir;
  for (const OpenMode& mode : kModes) {
    EXPECT_EQ(PlainFileOpen((dir.WindowsPath() + "\\NONE").c_str(), mode.cache, 1, mode.asynchronous), nullptr);
  }
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

// How many bytes the reader thread's cache holds, asked through the thread's
// own request handshake: an empty read, which waits for any read-ahead in
// progress and leaves the cache as it is.
DWORD CacheHeldByTheReaderThread(PlainFile* file) {
  PlainFileThreadBlock* block = &file->thread;
  WaitPlainFileRequestDone(block);
  char unused;
  block->readDestination = reinterpret_cast<BYTE*>(&unused);
  block->readPosition = file->position;
  block->readCount = 0;
  IssuePlainFileRequest(block, PLAIN_FILE_READ);
  WaitPlainFileRequestDone(block);
  return block->cacheHeld;
}

TEST(PlainFileCacheTest, ThePauseBetweenReadsFillsTheCache) {
  wqtest::TempDir dir;
  const std::string bytes(4096, 'c');
  dir.WriteFile("C.BIN", bytes);
  PlainFile* file = PlainFileOpen((dir.WindowsPath() + "\\C.BIN").c_str(), 1, 1, 0);
  ASSERT_NE(file, nullptr);
  char first[16];
  ASSERT_EQ(PlainFileRead(first, 1, 16, file), 16u);
  // Without requests the thread reads ahead behind the position. Each probe
  // is itself a request, so the probes leave the thread a pause longer than
  // its own between them.
  const bool filled = wqtest::WaitUntil([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return CacheHeldByTheReaderThread(file) != 0;
  });
  ASSERT_TRUE(filled);
  EXPECT_EQ(file->thread.cachePosition, 16u);
  ASSERT_EQ(file->thread.cacheHeld, 4096u - 16);
  // The next read is served from the cache, not from the changed file.
  dir.WriteFile("C.BIN", std::string(4096, 'd'));
  char next[16];
  ASSERT_EQ(PlainFileRead(next, 1, 16, file), 16u);
  EXPECT_EQ(std::string(next, 16), std::string(16, 'c'));
  PlainFileClose(file);
}

TEST(ResolveFullPathTest, AppliesDotsAndDrives) {
  const struct {
    const char* path;
    const char* base;
    const char* expected;
  } cases[] = {
      {"a/./b/../c", "C:\\x\\", "C:\\x\\a\\c"},
      {"//srv/share", "C:\\x", "\\\\srv\\share"},
      {"/y", "C:\\x", "C:\\y"},
      {"a/..", "C:\\x", "C:\\x\\a\\.."},
      {"D:\\data\\..\\img.png", "C:\\x", "D:\\img.png"},
      {"../../..\\up", "C:\\x\\y", "C:\\up"},
      {"a//b\\", "C:\\x", "C:\\x\\a\\b"},
      // A double-byte character whose trail byte is 0x5C is kept whole.
      {"\x95\x5C\\..\\b", "C:\\x", "C:\\x\\b"},
      {"\x95\x5C\\c", "C:\\x", "C:\\x\\\x95\x5C\\c"},
  };
  for (const auto& c : cases) {
    char out[MAX_PATH];
    EXPECT_EQ(ResolveFullPath(c.path, out, c.base), 0) << c.path;
    EXPECT_STREQ(out, c.expected) << c.path;
  }
}

TEST(ArchiveFullPathTest, UpperCasesAsArchivesStoreNames) {
  char out[MAX_PATH];
  ASSERT_EQ(MakeFullPathFromCurrentDir("c:\\game/Data/./img/../a\x82\x61.png", out), 0);
  EXPECT_STREQ(out, "C:\\GAME\\DATA\\A\x82\x61.PNG") << "the double-byte character keeps its lower-case trail";
}

class FullPathLogTest : public wqtest::LogCapture {};

TEST_F(FullPathLogTest, APathTooLongIsRefusedNotCut) {
  char out[MAX_PATH];
  const std::string longPath(300, 'p');
  EXPECT_EQ(ResolveFullPath(longPath.c_str(), out, "C:\\x"), -1);
  EXPECT_NE(LogText().find("ファイルパスが長すぎます"), std::string::npos);
}

TEST(CreateTempFileNameTest, MakesANewEmptyFileInTheTemporaryFolder) {
  char path[MAX_PATH];
  HANDLE file = CreateTempFileName(path);
  ASSERT_NE(file, nullptr);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
  CloseHandle(file);
  EXPECT_EQ(GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(DeleteFileA(path));
  char second[MAX_PATH];
  HANDLE other = CreateTempFileName(second);
  ASSERT_NE(other, nullptr);
  CloseHandle(other);
  DeleteFileA(second);
}

TEST(PlainFindTest, FindsTheEntriesOfAFolder) {
  wqtest::TempDir dir;
  dir.WriteFile("A.TXT", "12345");
  dir.WriteFile("SUB/B.TXT", "b");
  FileInfo info;
  const std::uintptr_t find = PlainFindFirst((dir.WindowsPath() + "\\A.*").c_str(), &info);
  ASSERT_NE(find, INVALID_FIND_HANDLE);
  EXPECT_STREQ(info.name, "A.TXT");
  EXPECT_EQ(info.sizeLow, 5u);
  EXPECT_EQ(info.directory, 0u);
  EXPECT_GT(info.lastWriteDate[0], 2000);
  EXPECT_EQ(PlainFindNext(find, &info), -1);
  EXPECT_EQ(PlainFindClose(find), 0);
  EXPECT_EQ(PlainFindFirst((dir.WindowsPath() + "\\*.none").c_str(), &info), INVALID_FIND_HANDLE);
}

TEST(FileAccessTableTest, SetupChoosesTheSet) {
  static int opens = 0;
  FileAccessTable counting = *GetPlainFileSet();
  counting.open = [](const char*, int, int, int) -> FileHandle {
    ++opens;
    return 0;
  };
  SetupFileAccessTable(&counting);
  EXPECT_EQ(FileAccessOpen("anything", 0, 1, 0), 0u);
  EXPECT_EQ(opens, 1);
  SetupFileAccessTable(nullptr);
  EXPECT_EQ(GetFileAccessTable()->open, GetArchiveAwareFileSet()->open);
  SetPlainFilesOnly(1);
  SetupFileAccessTable(nullptr);
  EXPECT_EQ(GetFileAccessTable()->open, GetPlainFileSet()->open);
  SetPlainFilesOnly(0);
  SetupFileAccessTable(nullptr);
}

}  // namespace
