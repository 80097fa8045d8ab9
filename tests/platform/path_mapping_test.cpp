// Windows paths reach the right Linux files: drive forms, both separators,
// relative names, "." and "..", names in any case, Shift-JIS names.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

class PathMappingTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteFile("Work/Game/Pict.WQA", "pict");
    original_cwd_ = std::filesystem::current_path();
  }
  void TearDown() override { std::filesystem::current_path(original_cwd_); }

  // The Linux path of the temp dir without the drive ("\tmp\wqtest-...").
  std::string RootRelative() const { return dir_.WindowsPath().substr(2); }

  // Reads a whole (small) file through CreateFileA, or reports the error.
  static std::string ReadThrough(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "error " + std::to_string(GetLastError());
    char buffer[64];
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    CloseHandle(file);
    return std::string(buffer, read);
  }

  wqtest::TempDir dir_;
  std::filesystem::path original_cwd_;
};

TEST_F(PathMappingTest, WindowsFormsOfOnePathReachTheMixedCaseFile) {
  const std::string base = dir_.WindowsPath();
  std::string slashed = "c:" + dir_.path().string();
  const std::string forms[] = {
      base + "\\Work\\Game\\Pict.WQA",
      base + "\\WORK\\GAME\\PICT.WQA",
      base + "\\work\\game\\pict.wqa",
      slashed + "/WORK/game/PiCt.wQa",
      base + "/Work\\GAME/pict.WQA",
      base + "\\\\WORK\\\\\\GAME//PICT.WQA",
      base + "\\WORK\\.\\GAME\\..\\GAME\\.\\PICT.WQA",
      base + "\\WORK\\NOWHERE\\..\\GAME\\PICT.WQA",
      "C:\\..\\..\\" + base.substr(3) + "\\WORK\\GAME\\PICT.WQA",
      RootRelative() + "\\WORK\\GAME\\PICT.WQA",
  };
  for (const std::string& form : forms) EXPECT_EQ(ReadThrough(form), "pict") << form;
}

TEST_F(PathMappingTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  std::filesystem::current_path(dir_.path() / "Work");
  const std::string forms[] = {"GAME\\PICT.WQA", "game/pict.wqa", ".\\Game\\Pict.WQA", "C:GAME\\PICT.WQA",
                               "..\\WORK\\GAME\\PICT.WQA"};
  for (const std::string& form : forms) EXPECT_EQ(ReadThrough(form), "pict") << form;
}

TEST_F(PathMappingTest, FailuresNameTheMissingPartOrTheBadInput) {
  const std::string base = dir_.WindowsPath();
  struct Case {
    std::string path;
    DWORD error;
  } cases[] = {
      {base + "\\WORK\\GAME\\NONE.WQA", ERROR_FILE_NOT_FOUND},
      {base + "\\WORK\\MISSING\\PICT.WQA", ERROR_PATH_NOT_FOUND},
      {base + "\\WORK\\GAME\\PICT.WQA\\INSIDE", ERROR_PATH_NOT_FOUND},
      {"D:" + base.substr(2) + "\\WORK\\GAME\\PICT.WQA", ERROR_PATH_NOT_FOUND},
      {"\\\\server\\share\\PICT.WQA", ERROR_PATH_NOT_FOUND},
      {"", ERROR_PATH_NOT_FOUND},
      {base + "\\WORK\\GA*E\\PICT.WQA", ERROR_INVALID_NAME},
      {base + "\\WORK\\GAME\\PICT?.WQA", ERROR_INVALID_NAME},
      {base + "\\" + std::string(300, 'x'), ERROR_FILENAME_EXCED_RANGE},
      // Short enough as given, too long once made full.
      {std::string(MAX_PATH - 1 - 3, 'y'), ERROR_FILENAME_EXCED_RANGE},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadThrough(c.path), "error " + std::to_string(c.error)) << c.path;
}

TEST_F(PathMappingTest, NullPathsFailWithoutCrashing) {
  EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(DeleteFileA(nullptr), FALSE);
  EXPECT_EQ(CreateDirectoryA(nullptr, nullptr), FALSE);
  EXPECT_EQ(SetCurrentDirectoryA(nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PathMappingTest, ShiftJisNamesWithBackslashTrailBytesAreCreatedAndFound) {
  // "表" is 0x95 0x5C and "ソ" 0x83 0x5C: the second byte is a backslash.
  const std::string folder = dir_.WindowsPath() + "\\表";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string file = folder + "\\ソ.txt";
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(handle, "sjis", 4, &written, nullptr));
  CloseHandle(handle);

  EXPECT_TRUE(std::filesystem::exists(dir_.path() / u8"表" / u8"ソ.txt"));
  EXPECT_EQ(ReadThrough(file), "sjis");
  EXPECT_EQ(ReadThrough(dir_.WindowsPath() + "/表/ソ.TXT"), "sjis");
}

TEST_F(PathMappingTest, DoubleByteCharactersAreNeverCaseFolded) {
  // "ア" is 0x83 0x41 and "ヂ" 0x83 0x61: folding the trail byte as a
  // letter would make them one name.
  dir_.WriteFile(reinterpret_cast<const char*>(u8"ア.txt"), "a");
  // Full-width letters have no case either ("Ｂ" is 0x82 0x61, "ｂ" 0x82 0x82).
  dir_.WriteFile(reinterpret_cast<const char*>(u8"Ｂ.txt"), "b");
  const std::string base = dir_.WindowsPath();
  EXPECT_NE(GetFileAttributesA((base + "\\ア.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((base + "\\Ｂ.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  for (const char* other : {"\\ヂ.txt", "\\ｂ.txt"}) {
    EXPECT_EQ(GetFileAttributesA((base + other).c_str()), INVALID_FILE_ATTRIBUTES) << other;
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  }
}

// Bumps a directory's modification time by a second, as a change made later
// by another program would.
void TouchLater(const std::filesystem::path& directory, int seconds) {
  struct stat status;
  ASSERT_EQ(stat(directory.c_str(), &status), 0);
  timespec times[2] = {status.st_atim, status.st_mtim};
  times[1].tv_sec += seconds;
  ASSERT_EQ(utimensat(AT_FDCWD, directory.c_str(), times, 0), 0);
}

TEST_F(PathMappingTest, CachedScansSeeChangesMadeByOthersAndByThisProcess) {
  const std::string game = dir_.WindowsPath() + "\\WORK\\GAME";
  ASSERT_NE(GetFileAttributesA((game + "\\PICT.WQA").c_str()), INVALID_FILE_ATTRIBUTES);  // scans Game/

  // Another program adds a file: the folder's new modification time shows it.
  dir_.WriteFile("Work/Game/Other.Bin", "");
  TouchLater(dir_.path() / "Work/Game", 1);
  EXPECT_NE(GetFileAttributesA((game + "\\OTHER.BIN").c_str()), INVALID_FILE_ATTRIBUTES);

  // This process adds one; even with the old time put back it is found.
  TouchLater(dir_.path() / "Work/Game", 0);
  HANDLE created = CreateFileA((game + "\\Mine.Dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  TouchLater(dir_.path() / "Work/Game", -1);
  EXPECT_NE(GetFileAttributesA((game + "\\MINE.DAT").c_str()), INVALID_FILE_ATTRIBUTES);

  // And one it deletes is gone at once.
  ASSERT_TRUE(DeleteFileA((game + "\\mine.dat").c_str()));
  EXPECT_EQ(GetFileAttributesA((game + "\\MINE.DAT").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PathMappingTest, NewFileKeepsItsGivenNameUnderCaseInsensitivelyFoundFolders) {
  const std::string path = dir_.WindowsPath() + "\\WORK\\GAME\\NewFile.Txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "Work/Game/NewFile.Txt"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "WORK"));
}

TEST_F(PathMappingTest, AttributesTellFoldersHiddenAndReadOnlyFiles) {
  dir_.WriteFile(".hidden", "");
  dir_.WriteFile("locked", "");
  std::filesystem::permissions(dir_.path() / "locked", std::filesystem::perms::owner_read);
  const std::string base = dir_.WindowsPath();
  EXPECT_EQ(GetFileAttributesA((base + "\\WORK").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA((base + "\\WORK\\GAME\\PICT.WQA").c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(GetFileAttributesA((base + "\\.HIDDEN").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(GetFileAttributesA((base + "\\LOCKED").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(GetFileAttributesA((base + "\\MISSING\\X").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
