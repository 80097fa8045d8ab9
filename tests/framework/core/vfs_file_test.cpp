// The archive-aware file set: paths under a folder that has an archive of
// the same name are read from the archive, others from the disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cctype>
#include <filesystem>

#include "core/files/file_access_table.h"
#include "platform/kernel32.h"
#include "log_capture.h"
#include "support/wqa_archive_builder.h"
#include "core/base/tracked_allocator.h"
#include "core/files/vfs_archive_table.h"
#include "core/files/vfs_file.h"

namespace {

using wqtest::WqaFile;
using wqtest::WqaFolder;

struct ArchivedFile {
  const char* path;  // below the data folder
  std::string bytes;
};

const std::vector<ArchivedFile>& ArchivedFiles() {
  static const std::vector<ArchivedFile> files = {
      {"IMG\\A.PNG", std::string(3000, 'a') + "end of a"},
      {"IMG\\NOISE.BIN", wqtest::RandomBytes(5000, 11)},
      {"SOUND\\SE\\HIT.WAV", std::string(700, 'h')},
      {"TEN.TXT", "0123456789"},
  };
  return files;
}

// The game folder: DATA.WQA (under the game's key) beside a disk folder
// DATA that holds other files, and a folder PLAIN without archive.
class VfsFileTest : public wqtest::LogCapture, public testing::WithParamInterface<std::tuple<bool, int>> {
 protected:
  void SetUp() override {
    LogCapture::SetUp();
    const auto& f = ArchivedFiles();
    const std::vector<std::uint8_t> image = wqtest::BuildWqa(
        {WqaFolder("Img", {WqaFile("a.png", f[0].bytes), WqaFile("Noise.bin", f[1].bytes)}),
         WqaFolder("Sound", {WqaFolder("SE", {WqaFile("hit.wav", f[2].bytes)})}), WqaFile("Ten.txt", f[3].bytes)},
        wqtest::WqaOptions("GameKey", 4, std::get<0>(GetParam())));
    dir_.WriteFile("GAME/DATA.WQA", std::string(image.begin(), image.end()));
    dir_.WriteFile("GAME/DATA/IMG/A.PNG", "the disk copy, never read");
    dir_.WriteFile("GAME/DATA/IMG/ONLY_ON_DISK.PNG", "not in the archive");
    dir_.WriteFile("GAME/PLAIN/README.TXT", "plain disk file");
    SetArchiveKey("GameKey");
  }
  void TearDown() override {
    CleanupArchives();
    SetArchiveKey(nullptr);
    LogCapture::TearDown();
  }

  std::string Game(const std::string& path) const { return dir_.WindowsPath() + "\\GAME\\" + path; }
  int asynchronous() const { return std::get<1>(GetParam()); }

  // Reads a whole file through the file-access thunks.
  std::string ReadAll(const std::string& path) {
    const FileHandle file = FileAccessOpen(path.c_str(), 0, 1, asynchronous());
    if (file == 0) return "<not opened>";
    std::string text;
    char chunk[1000];
    for (;;) {
      const std::int64_t read = FileAccessRead(chunk, 1, sizeof(chunk), file);
      while (FileAccessIdleCheck(file) == 0) {
      }
      if (read <= 0) break;
      text.append(chunk, static_cast<std::size_t>(read));
    }
    EXPECT_EQ(FileAccessEof(file), -1);
    FileAccessClose(file);
    return text;
  }
};

TEST_P(VfsFileTest, EveryArchivedFileReadsBackAsWritten) {
  for (const ArchivedFile& file : ArchivedFiles()) {
    EXPECT_TRUE(ReadAll(Game(std::string("data\\") + file.path)) == file.bytes) << file.path;
  }
  // Whatever the letter case and separators of the path.
  EXPECT_EQ(ReadAll(Game("Data/img/a.PNG")), ArchivedFiles()[0].bytes);
  EXPECT_EQ(ReadAll(Game("PLAIN\\README.TXT")), "plain disk file");
  EXPECT_EQ(GetTrackedBlockCount() > 0, true) << "the archive stays open";
  EXPECT_EQ(GetOpenArchiveCount(), 1);
  CleanupArchives();
  EXPECT_EQ(GetOpenArchiveCount(), 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST_P(VfsFileTest, TheArchiveHidesTheDiskFolder) {
  EXPECT_EQ(ReadAll(Game("DATA\\IMG\\ONLY_ON_DISK.PNG")), "<not opened>");
  EXPECT_NE(LogText().find("ＷＱＡファイルの中に指定のファイルは見つかりませんでした"), std::string::npos);
  const FileHandle plain = VfsOpen(Game("PLAIN\\README.TXT").c_str(), 0, 1, 0);
  const FileHandle archived = VfsOpen(Game("DATA\\TEN.TXT").c_str(), 0, 1, 0);
  EXPECT_EQ(GetVfsFileKind(plain), 0);
  EXPECT_EQ(GetVfsFileKind(archived), 1);
  VfsClose(plain);
  VfsClose(archived);
  EXPECT_EQ(ReadAll(Game("PLAIN\\MISSING.TXT")), "<not opened>");
}

TEST_P(VfsFileTest, SeeksClampAndPartialItemsAreConsumed) {
  const FileHandle file = VfsOpen(Game("DATA\\TEN.TXT").c_str(), 0, 1, asynchronous());
  ASSERT_NE(file, 0u);
  EXPECT_EQ(VfsSeek(file, 100, 0), 0);
  EXPECT_EQ(VfsTell(file), 10);
  char out[12] = {};
  EXPECT_EQ(VfsRead(out, 1, 4, file), 0);
  EXPECT_EQ(VfsEof(file), -1);
  EXPECT_EQ(VfsSeek(file, -20, 1), 0);
  EXPECT_EQ(VfsTell(file), 0);
  EXPECT_EQ(VfsRead(out, 4, 3, file), 2) << "ten bytes: two whole items";
  while (VfsIdleCheck(file) == 0) {
  }
  EXPECT_EQ(std::string(out), "0123456789");
  EXPECT_EQ(VfsTell(file), 10) << "the partial item is consumed";
  EXPECT_EQ(VfsSeek(file, -3, 2), 0);
  EXPECT_EQ(VfsRead(out, 0, 3, file), 0) << "items of size 0";
  EXPECT_EQ(VfsClose(file), 0);
  EXPECT_EQ(VfsClose(file), -1);
  EXPECT_EQ(VfsRead(out, 1, 1, file), -1);
  EXPECT_EQ(VfsTell(0x12345), -1);
}

TEST_P(VfsFileTest, FindsInsideTheArchiveAndOnDisk) {
  FileInfo info;
  std::vector<std::string> names;
  FindHandle find = VfsFindFirst(Game("data\\img\\*.png").c_str(), &info);
  ASSERT_NE(find, INVALID_FIND_HANDLE);
  do {
    names.emplace_back(info.name);
  } while (VfsFindNext(find, &info) == 0);
  EXPECT_EQ(VfsFindClose(find), 0);
  EXPECT_EQ(names, std::vector<std::string>{"a.png"});
  find = VfsFindFirst(Game("PLAIN\\*.TXT").c_str(), &info);
  ASSERT_NE(find, INVALID_FIND_HANDLE);
  EXPECT_STREQ(info.name, "README.TXT");
  VfsFindClose(find);
  EXPECT_EQ(VfsFindFirst(Game("data\\img\\*.bmp").c_str(), &info), INVALID_FIND_HANDLE);
  EXPECT_EQ(VfsFindNext(INVALID_FIND_HANDLE, &info), -1);
  EXPECT_EQ(VfsFindClose(INVALID_FIND_HANDLE), -1);
  CleanupArchives();
  EXPECT_EQ(GetOpenArchiveCount(), 0) << "every search gave its reference back";
}

TEST_P(VfsFileTest, NamesWithTrailByte5CAreFoundOnTheWayToTheArchiveAndInIt) {
  // 表 (0x95 0x5C) is the archive's name and a file's name; ソ (0x83 0x5C)
  // a folder inside it and a disk folder. On disk the names are UTF-8.
  const std::vector<std::uint8_t> image =
      wqtest::BuildWqa({WqaFolder("\x83\x5C", {WqaFile("\x95\x5C.txt", "inside the trail-byte archive")})},
                       wqtest::WqaOptions("GameKey", 4, std::get<0>(GetParam())));
  dir_.WriteFile(reinterpret_cast<const char*>(u8"GAME/表.WQA"), std::string(image.begin(), image.end()));
  dir_.WriteFile(reinterpret_cast<const char*>(u8"GAME/ソ/表.TXT"), "on disk under a trail-byte folder");
  EXPECT_EQ(ReadAll(Game("\x95\x5C\\\x83\x5C\\\x95\x5C.TXT")), "inside the trail-byte archive");
  EXPECT_EQ(ReadAll(Game("\x83\x5C\\\x95\x5C.txt")), "on disk under a trail-byte folder");
}

INSTANTIATE_TEST_SUITE_P(PackedOrStoredSyncOrAsync, VfsFileTest,
                         testing::Combine(testing::Bool(), testing::Values(0, 1)));

TEST(VfsArchiveSearchTest, TheArchiveOfTheShortestLeadingDirectoryWins) {
  wqtest::TempDir dir;
  const wqa::WriteOptions options = wqtest::WqaOptions("");
  for (const auto& [archive, contents] : {std::pair{"GAME.WQA", "outer"}, {"GAME/DATA.WQA", "inner"}}) {
    const std::vector<std::uint8_t> image =
        wqtest::BuildWqa({WqaFolder("DATA", {WqaFile("A.TXT", "from GAME.WQA")}), WqaFile("A.TXT", contents)}, options);
    dir.WriteFile(archive, std::string(image.begin(), image.end()));
  }
  int index = -1;
  char archivePath[MAX_PATH];
  char innerPath[MAX_PATH];
  ASSERT_EQ(SplitArchivePath((dir.WindowsPath() + "\\game\\data\\a.txt").c_str(), &index, archivePath, innerPath), 0);
  std::string expected = dir.WindowsPath() + "\\GAME.WQA";
  for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(std::string(archivePath), expected) << "archive paths are kept upper-cased";
  EXPECT_STREQ(innerPath, "DATA\\A.TXT");
  ReleaseArchiveReference(index);
  // The archive found last is tried first for the next path under it.
  ASSERT_EQ(SplitArchivePath((dir.WindowsPath() + "\\game\\b.txt").c_str(), &index, nullptr, innerPath), 0);
  EXPECT_STREQ(innerPath, "B.TXT");
  ReleaseArchiveReference(index);
  EXPECT_EQ(GetOpenArchiveCount(), 1);
  CleanupArchives();
}

// An archive whose packed file's codes reach before the start of its output
// and whose stored file's data lies past the archive's end.
class VfsDamagedFileTest : public wqtest::LogCapture {
 protected:
  void SetUp() override {
    LogCapture::SetUp();
    const wqa::WriteOptions options = wqtest::WqaOptions("");
    std::vector<std::uint8_t> image = wqtest::BuildWqa(
        {WqaFile("PACKED.TXT", std::string(4000, 'p')), WqaFile("STORED.BIN", wqtest::RandomBytes(300, 3))}, options);
    wqtest::PatchWqa(image, options.key, [](std::vector<std::uint8_t>& decoded) {
      wqtest::WqaLayout layout{decoded};
      ASSERT_NE(layout.record(0).packedSize, WQA_STORED);
      layout.MatchBeforeTheStart(0);
      layout.record(1).dataOffset = 0xFFFFFF00u;
    });
    dir_.WriteFile("DATA.WQA", std::string(image.begin(), image.end()));
  }
  void TearDown() override {
    CleanupArchives();
    EXPECT_EQ(GetTrackedBlockCount(), 0);
    LogCapture::TearDown();
  }
  std::string Data(const char* name) const { return dir_.WindowsPath() + "\\DATA\\" + name; }
};

TEST_F(VfsDamagedFileTest, DamagedDataFailsTheOpenWithALogLine) {
  for (const int asynchronous : {0, 1}) {
    EXPECT_EQ(VfsOpen(Data("STORED.BIN").c_str(), 0, 1, asynchronous), 0u) << asynchronous;
  }
  EXPECT_NE(LogText().find("ＷＱＡファイル内のデータの位置が壊れています"), std::string::npos);
  EXPECT_EQ(VfsOpen(Data("PACKED.TXT").c_str(), 0, 1, 0), 0u);
  EXPECT_NE(LogText().find("ＷＱＡファイル内の圧縮データが壊れています"), std::string::npos);
  EXPECT_NE(LogText().find("ＷＱＡファイルの中に指定のファイルは見つかりませんでした"), std::string::npos);
}

TEST_F(VfsDamagedFileTest, DamagedPackedDataFoundByAnAsynchronousReadReadsNothing) {
  // The packed bytes are checked when their read has finished, after the
  // open has returned.
  const FileHandle file = VfsOpen(Data("PACKED.TXT").c_str(), 0, 1, 1);
  ASSERT_NE(file, 0u);
  std::string out(16, 'x');
  EXPECT_EQ(VfsRead(out.data(), 1, out.size(), file), 0);
  EXPECT_EQ(VfsIdleCheck(file), 1);
  EXPECT_EQ(VfsEof(file), -1);
  EXPECT_EQ(out, std::string(16, 'x'));
  EXPECT_NE(LogText().find("ＷＱＡファイル内の圧縮データが壊れています"), std::string::npos);
  EXPECT_EQ(VfsClose(file), 0);
}

class VfsLimitsTest : public wqtest::LogCapture {};

TEST_F(VfsLimitsTest, The513thOpenFails) {
  dir_.WriteFile("F.TXT", "f");
  const std::string path = dir_.WindowsPath() + "\\F.TXT";
  std::vector<FileHandle> files;
  for (int i = 0; i < VFS_MAX_OPEN_FILES; ++i) files.push_back(VfsOpen(path.c_str(), 0, 1, 0));
  EXPECT_EQ(std::count(files.begin(), files.end(), 0u), 0);
  EXPECT_EQ(VfsOpen(path.c_str(), 0, 1, 0), 0u);
  EXPECT_NE(LogText().find("同時に開けるファイルの数が限界を超えました"), std::string::npos);
  VfsClose(files[100]);
  files[100] = VfsOpen(path.c_str(), 0, 1, 0);
  EXPECT_EQ(files[100], VFS_HANDLE_TAG | 100u) << "the freed slot is taken again";
  for (FileHandle file : files) VfsClose(file);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST_F(VfsLimitsTest, ACurrentDirectoryTooLongForTheBufferIsRefused) {
  // 258 characters as a Windows path: within MAX_PATH, past the buffer.
  std::string deep = dir_.path().string();
  while (deep.size() + 2 < 240) deep += "/deeper";
  deep += "/" + std::string(258 - 2 - deep.size() - 1, 'z');
  std::filesystem::create_directories(deep);
  ASSERT_EQ(VfsSetCurrentDir(("C:" + deep).c_str()), 0);
  char check[MAX_PATH];
  ASSERT_EQ(GetCurrentDirectoryA(MAX_PATH, check), 258u);
  char buffer[VFS_CURRENT_DIR_BUFFER];
  EXPECT_EQ(VfsGetCurrentDir(buffer), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_NE(LogText().find("カレントディレクトリのパスが長すぎます"), std::string::npos);
  ASSERT_EQ(VfsSetCurrentDir(dir_.WindowsPath().c_str()), 0);
  EXPECT_EQ(VfsGetCurrentDir(buffer), 0);
  EXPECT_STREQ(buffer, dir_.WindowsPath().c_str());
}

}  // namespace
